#!/usr/bin/env bash
# A second termix.exe hands over to the running copy (named mutex, window found by its title,
# the show request): the hidden first window is shown and in front again, and the second copy ends
# with status 0 without a window of its own.
source "$(dirname "$0")/../lib-wine.sh"
wine_init "$@"
e2e_write_settings m_cs_esc_exit_or_hide Yes

wine_start_shown
first=$pid
xdotool key Escape
e2e_expect_hidden "$win" 10000 "after ESC"
wine_start_termix
second=$E2E_TERMIX_PID
e2e_wait_exit "$second" 20000
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "the second copy ended with status $E2E_EXIT_STATUS"
e2e_expect_shown "$win" 10000 "second start while hidden"
# Wine's activation does not reach icewm's notion of the active window: in front is what shows.
e2e_wait_for 10000 wine_is_in_front "$win" || e2e_fail "the window is not in front after the second start"
[[ $(xdotool search --name "$E2E_TITLE_RE" | wc -l) == 1 ]] || e2e_fail "a second main window exists"
kill -0 "$first" 2>/dev/null || e2e_fail "the first copy ended"
e2e_pass
