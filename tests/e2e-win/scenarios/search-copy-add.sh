#!/usr/bin/env bash
# termix.exe from the portable zip, in a folder with a Chinese name: its window appears with the
# exact title; a keyword search of "use case" shows the term, and "复制" puts "用例(use case)" on
# the clipboard; a term added in the data configuration window is in the glossary file beside the
# program; ESC ends it and the history file holds the search.
source "$(dirname "$0")/../lib-wine.sh"
wine_init "$@"
glossary=$E2E_APP/Termix.CGlossary.termix
history=$E2E_APP/Termix.CHistroy.termix
e2e_write_settings m_cs_searched_history_saved Yes
"$WINE_CLI" --file "$glossary" show Zyzzyva >/dev/null 2>&1 && e2e_fail "the test term is already there"

wine_start_shown
wine_search_and_copy_use_case
if [[ -n ${E2E_SCREENSHOT:-} ]]; then
    command -v import >/dev/null && import -window root "$E2E_SCREENSHOT"
fi

# "数据配置": add a term, "到主界面" saves the glossary.
e2e_click_at "$win" $E2E_MAIN_W $E2E_MAIN_H 184 41
e2e_wait_for 10000 e2e_find_program_window '^数据配置$' >/dev/null ||
    e2e_fail "the data configuration window did not open"
config=$(e2e_find_program_window '^数据配置$')
e2e_add_term "Zyzzyva" "weevil beetle"
e2e_click_at "$config" $E2E_CONFIG_W $E2E_CONFIG_H 190 55 # "到主界面"
e2e_wait_for 10000 e2e_no_program_window '^数据配置$' || e2e_fail "到主界面 did not close the window"
shown=$("$WINE_CLI" --file "$glossary" show Zyzzyva) || e2e_fail "the added term is not in the glossary file"
[[ $shown == *"meaning: weevil beetle"* ]] || e2e_fail "the meaning was not stored: $shown"

wine_focus_window "$win"
xdotool key Escape
e2e_wait_exit "$pid" 20000
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "termix.exe ended with status $E2E_EXIT_STATUS"
e2e_pair_value "$history" "use case" >/dev/null || e2e_fail "the search is not in the history file"
[[ -f $E2E_APP/Termix.CConfGlobal.cfg ]] || e2e_fail "no settings file beside the program"
e2e_pass
