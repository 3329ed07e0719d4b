#!/usr/bin/env bash
# The end of the Windows session is a request from outside to end: the program saves its
# settings and history and ends, even with ESC and close set to hide.
source "$(dirname "$0")/../lib-wine.sh"
wine_init "$@"
settings=$E2E_APP/Termix.CConfGlobal.cfg
history=$E2E_APP/Termix.CHistroy.termix
e2e_write_settings m_cs_exit_or_hide Yes m_cs_esc_exit_or_hide Yes \
    m_cs_searched_history_saved Yes m_cs_hotkey 196692

wine_start_shown
xdotool type --delay 30 "class"
xdotool key Return
sleep 0.5
rm -f "$settings"
# The close command (the title bar's X) only hides with this setting.
xdotool key alt+F4
e2e_expect_hidden "$win" 10000 "after Alt+F4"
kill -0 "$pid" 2>/dev/null || e2e_fail "Alt+F4 ended the program"
wine wineboot --end-session >/dev/null 2>&1 || true
e2e_wait_exit "$pid" 20000
[[ $(e2e_pair_value "$settings" m_cs_hotkey) == 196692 ]] || e2e_fail "no settings after the session end"
e2e_pair_value "$history" class >/dev/null || e2e_fail "no history after the session end"
e2e_pass
