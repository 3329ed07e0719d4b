#!/usr/bin/env bash
# A second start hands over to the running copy: it shows the first copy's window again, hidden
# or minimised, and ends without a window of its own. After the first copy has ended, a new copy
# starts normally.
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
e2e_write_settings m_cs_esc_exit_or_hide Yes

e2e_start_termix
first=$E2E_TERMIX_PID
e2e_wait_window
win=$E2E_WIN
e2e_expect_shown "$win" 5000 "after start"

# Hidden (ESC hides with this setting): a second start shows it.
e2e_focus_window "$win"
xdotool key Escape
e2e_expect_hidden "$win" 5000 "after ESC"
e2e_start_termix
second=$E2E_TERMIX_PID
e2e_wait_exit "$second" 10000
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "the second copy ended with status $E2E_EXIT_STATUS"
e2e_expect_shown "$win" 5000 "second start while hidden"
e2e_expect_active "$win" 5000 "second start while hidden"
[[ $(e2e_find_window) == "$win" ]] || e2e_fail "the second copy left a window of its own"

# Minimised: a second start restores it to normal size.
xdotool windowminimize "$win"
e2e_expect_minimised "$win" 5000 "after minimising"
e2e_start_termix
e2e_wait_exit "$E2E_TERMIX_PID" 10000
e2e_expect_shown "$win" 5000 "second start while minimised"
[[ $(e2e_wm_state "$win") == Normal ]] || e2e_fail "window not restored to normal"
kill -0 "$first" 2>/dev/null || e2e_fail "the first copy ended"

# After the first copy has ended, the marker is free and a new copy starts with a window.
kill -TERM "$first"
e2e_wait_exit "$first" 10000
e2e_start_termix
third=$E2E_TERMIX_PID
e2e_wait_window
e2e_expect_shown "$E2E_WIN" 5000 "new copy after exit"
kill -0 "$third" 2>/dev/null || e2e_fail "the new copy did not stay"
e2e_pass
