#!/usr/bin/env bash
# A term added in the data configuration window ("数据配置", typed into the term and meaning
# fields, "增加", "到主界面") is in the glossary file, and the next start of the program reads it
# back: leaving the window again in that run writes it from memory into a fresh file.
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
glossary=$E2E_APP/Termix.CGlossary.termix
cli=$E2E_BIN_DIR/termix-cli
[[ -x $cli ]] || e2e_skip "termix-cli has not been built"
e2e_write_settings

"$cli" --file "$glossary" show Zyzzyva >/dev/null 2>&1 && e2e_fail "the test term is already there"

e2e_start_shown
e2e_open_config
# Enter does nothing in this window: it neither adds nor closes.
xdotool key Return
sleep 0.2
e2e_find_config_window >/dev/null || e2e_fail "Enter closed the data configuration window"
e2e_add_term "Zyzzyva" "weevil beetle"
e2e_leave_config
shown=$("$cli" --file "$glossary" show Zyzzyva) || e2e_fail "the added term is not in the glossary file"
[[ $shown == *"meaning: weevil beetle"* ]] || e2e_fail "the meaning was not stored: $shown"

e2e_focus_window "$win"
xdotool key Escape
e2e_wait_exit "$pid" 10000

# The next run loads the term; with the file moved away, leaving the window writes it anew from
# what the program holds in memory.
e2e_start_shown
mv "$glossary" "$glossary.before"
e2e_open_config
e2e_leave_config
"$cli" --file "$glossary" show Zyzzyva >/dev/null || e2e_fail "the restarted program lost the term"
before=$("$cli" --file "$glossary.before" all | wc -l)
after=$("$cli" --file "$glossary" all | wc -l)
((before == after)) || e2e_fail "the glossary changed from $before to $after terms"
e2e_focus_window "$win"
xdotool key Escape
e2e_wait_exit "$pid" 10000
e2e_pass
