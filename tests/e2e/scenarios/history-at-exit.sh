#!/usr/bin/env bash
# A search typed into the window and run with Enter is in the history file after ESC ends the
# program with the history switched on, next to what the file held before.
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
history=$E2E_APP/Termix.CHistroy.termix
e2e_write_settings m_cs_searched_history_saved Yes
e2e_write_pairs "$history" "earlier search" "earlier search"

e2e_start_shown

# The input field has the focus at start; a term of the bundled glossary finds something.
xdotool type --delay 20 "class"
xdotool key Return
sleep 0.3
xdotool key Escape
e2e_wait_exit "$pid" 10000
e2e_pair_value "$history" class >/dev/null || e2e_fail "the search is not in the history file"
e2e_pair_value "$history" "earlier search" >/dev/null || e2e_fail "the earlier history was lost"
e2e_pass
