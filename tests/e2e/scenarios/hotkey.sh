#!/usr/bin/env bash
# The stored hotkey Ctrl+Alt+T (196692) shows the window from anywhere: hidden at start-up,
# minimised, or already shown; it never hides it.
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

# Pressed again while shown, it stays shown.
xdotool key ctrl+alt+t
sleep 0.2
e2e_is_shown "$win" || e2e_fail "the hotkey hid a shown window"
e2e_pass
