#!/usr/bin/env bash
# The stored hotkey Ctrl+Alt+T (196692) shows the window from anywhere: hidden at start-up,
# minimised, behind another program's window, or already shown; it never hides it.
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
e2e_write_settings m_cs_hotkey 196692 m_cs_startup_window_hide Yes

e2e_start_termix
e2e_wait_window
win=$E2E_WIN
# The start-up worker hides the window about 100 ms after start.
e2e_expect_hidden "$win" 5000 "start-up hide"

xdotool key ctrl+alt+t
e2e_expect_shown "$win" 5000 "hotkey while hidden"
e2e_expect_active "$win" 5000 "hotkey while hidden"

xdotool windowminimize "$win"
e2e_expect_minimised "$win" 5000 "after minimising"
xdotool key ctrl+alt+t
e2e_expect_shown "$win" 5000 "hotkey while minimised"
[[ $(e2e_wm_state "$win") == Normal ]] || e2e_fail "window not restored to normal"

# Shown but behind another program's window: it comes to the front.
other=$(dirname "$E2E_XPROBE")/termix-minimal-dialog
if [[ -x $other ]]; then
    "$other" "another program" >/dev/null 2>&1 &
    e2e_track $!
    e2e_wait_for 5000 xdotool search --name '^another program$' >/dev/null ||
        e2e_fail "the other program's window did not appear"
    other_win=$(xdotool search --name '^another program$' | head -n 1)
    xdotool windowactivate "$other_win" 2>/dev/null || true
    e2e_expect_active "$other_win" 5000 "the other program in front"
    xdotool key ctrl+alt+t
    e2e_expect_active "$win" 5000 "hotkey while behind another window"
fi

# Pressed again while shown, it stays shown.
xdotool key ctrl+alt+t
sleep 0.2
e2e_is_shown "$win" || e2e_fail "the hotkey hid a shown window"
e2e_pass
