#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP are requests from outside to end: the program saves the settings and
# the history and ends, even when ESC and close are set to hide; afterwards the single-instance
# marker is free again.
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
settings=$E2E_APP/Termix.CConfGlobal.cfg
history=$E2E_APP/Termix.CHistroy.termix
export QT_LOGGING_RULES="termix.ui.info=true"

for signal in TERM INT HUP; do
    e2e_write_settings m_cs_exit_or_hide Yes m_cs_esc_exit_or_hide Yes \
        m_cs_searched_history_saved Yes m_cs_startup_search_term_b Yes \
        m_cs_startup_search_term_s "class" m_cs_hotkey 196692
    rm -f "$history"
    : >"$E2E_WORK/termix.log"
    e2e_start_termix
    pid=$E2E_TERMIX_PID
    e2e_wait_window
    rm -f "$settings"
    # The start-up search (about 600 ms after start) records "class" in the history.
    e2e_wait_for 5000 grep -q "start-up search done: class" "$E2E_WORK/termix.log" ||
        e2e_fail "SIG$signal: the start-up search did not run"
    kill -"$signal" "$pid"
    e2e_wait_exit "$pid" 10000
    [[ $(e2e_pair_value "$settings" m_cs_hotkey) == 196692 ]] || e2e_fail "SIG$signal: no settings"
    e2e_pair_value "$history" class >/dev/null || e2e_fail "SIG$signal: no history"
done

# A request that comes while a start-up message is open (here: the hotkey is refused) still
# ends the program once the message is gone.
e2e_write_settings m_cs_hotkey 7 m_cs_searched_history_saved Yes
rm -f "$history"
e2e_start_termix
pid=$E2E_TERMIX_PID
e2e_wait_for 5000 e2e_find_program_window '^Termix$' >/dev/null ||
    e2e_fail "no message for the refused hotkey"
rm -f "$settings"
kill -TERM "$pid"
e2e_wait_exit "$pid" 10000
[[ $(e2e_pair_value "$settings" m_cs_hotkey) == 7 ]] || e2e_fail "start-up message: no settings"
e2e_write_settings m_cs_hotkey 196692

# The marker went with the process: a new copy starts and shows its window.
e2e_start_termix
e2e_wait_window
e2e_expect_shown "$E2E_WIN" 5000 "new copy after the close request"
e2e_pass
