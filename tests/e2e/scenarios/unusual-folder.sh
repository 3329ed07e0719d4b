#!/usr/bin/env bash
# The program in a folder whose name GBK cannot hold finds its glossary there and saves its
# settings and history there.
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
folder="$E2E_WORK/björn 한국어"
mv "$E2E_APP" "$folder"
E2E_APP=$folder

e2e_write_settings m_cs_searched_history_saved Yes m_cs_startup_search_term_b Yes \
    m_cs_startup_search_term_s "class" m_cs_hotkey 196692
export QT_LOGGING_RULES="termix.ui.info=true"
e2e_start_termix
pid=$E2E_TERMIX_PID
e2e_wait_window
# The start-up search (about 600 ms after start) finds terms, which records "class".
e2e_wait_for 5000 grep -q "start-up search done: class" "$E2E_WORK/termix.log" ||
    e2e_fail "the start-up search did not run"
rm -f "$E2E_APP/Termix.CConfGlobal.cfg"
kill -TERM "$pid"
e2e_wait_exit "$pid" 10000
[[ $(e2e_pair_value "$E2E_APP/Termix.CConfGlobal.cfg" m_cs_hotkey) == 196692 ]] ||
    e2e_fail "the settings were not saved in the folder"
e2e_pair_value "$E2E_APP/Termix.CHistroy.termix" class >/dev/null ||
    e2e_fail "the glossary was not found or the history not saved in the folder"
e2e_pass
