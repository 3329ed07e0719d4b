#!/usr/bin/env bash
# ESC and the close command (Alt+F4 through the window manager) hide the window when their
# setting is "Yes" and end the program otherwise; ending writes the settings file.
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
settings=$E2E_APP/Termix.CConfGlobal.cfg

# start_with KEY VALUE ...: a fresh copy with these settings; its window id in win.
start_with() {
    e2e_write_settings "$@"
    e2e_start_shown
}

# ESC hides with m_cs_esc_exit_or_hide "Yes" and writes nothing.
start_with m_cs_esc_exit_or_hide Yes
rm -f "$settings"
xdotool key Escape
e2e_expect_hidden "$win" 5000 "ESC with hide"
kill -0 "$pid" 2>/dev/null || e2e_fail "ESC with hide ended the program"
[[ ! -e $settings ]] || e2e_fail "hiding wrote the settings"
kill -TERM "$pid"
e2e_wait_exit "$pid"

# ESC ends the program with "No" (the close setting does not matter), writing the settings.
start_with m_cs_esc_exit_or_hide No m_cs_exit_or_hide Yes m_cs_hotkey 196692
rm -f "$settings"
xdotool key Escape
e2e_wait_exit "$pid" 10000
[[ $(e2e_pair_value "$settings" m_cs_hotkey) == 196692 ]] || e2e_fail "ESC exit did not write settings"

# The close command hides with m_cs_exit_or_hide "Yes".
start_with m_cs_exit_or_hide Yes m_cs_esc_exit_or_hide No
xdotool key alt+F4
e2e_expect_hidden "$win" 5000 "close with hide"
kill -0 "$pid" 2>/dev/null || e2e_fail "close with hide ended the program"
kill -TERM "$pid"
e2e_wait_exit "$pid"

# ... and ends the program otherwise.
start_with m_cs_exit_or_hide No m_cs_esc_exit_or_hide Yes
rm -f "$settings"
xdotool key alt+F4
e2e_wait_exit "$pid" 10000
[[ $(e2e_pair_value "$settings" m_cs_esc_exit_or_hide) == Yes ]] ||
    e2e_fail "close exit did not write settings"
e2e_pass
