#!/usr/bin/env bash
# "指定" in the settings dialog registers the combination at once: Ctrl+Shift+Y shows the hidden
# window right away, the stored Ctrl+Alt+T keeps working beside it, and after "取消" the stored
# value is still the old one when the program ends. (Ctrl+Alt+D is icewm's own "show desktop".)
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
settings=$E2E_APP/Termix.CConfGlobal.cfg
e2e_write_settings m_cs_hotkey 196692 m_cs_esc_exit_or_hide Yes

readonly MAIN_W=376 MAIN_H=225 SETTINGS_W=174 SETTINGS_H=187

e2e_start_shown

e2e_click_at "$win" $MAIN_W $MAIN_H 224 41 # "系统配置"
e2e_wait_for 5000 e2e_find_program_window '^系统配置$' >/dev/null ||
    e2e_fail "the settings dialog did not open"
dialog=$(e2e_find_program_window '^系统配置$')
e2e_click_at "$dialog" $SETTINGS_W $SETTINGS_H 99 117 # the hotkey input
xdotool key ctrl+shift+y
e2e_click_at "$dialog" $SETTINGS_W $SETTINGS_H 154 117 # "指定"
e2e_wait_for 5000 e2e_find_program_window '^Termix$' >/dev/null ||
    e2e_fail "no message after 指定"
box=$(e2e_find_program_window '^Termix$')
xdotool windowactivate "$box" 2>/dev/null || true
e2e_expect_active "$box" 5000 "message box"
xdotool key Return
e2e_wait_for 5000 e2e_no_program_window '^Termix$' || e2e_fail "the message box did not close"
e2e_click_at "$dialog" $SETTINGS_W $SETTINGS_H 123 177 # "取消"
e2e_wait_for 5000 e2e_no_program_window '^系统配置$' || e2e_fail "取消 did not close the dialog"

# The new combination works at once, the stored one too.
e2e_focus_window "$win"
xdotool key Escape
e2e_expect_hidden "$win" 5000 "ESC with hide"
xdotool key ctrl+shift+y
e2e_expect_shown "$win" 5000 "the combination assigned with 指定"
e2e_focus_window "$win"
xdotool key Escape
e2e_expect_hidden "$win" 5000 "ESC with hide, again"
xdotool key ctrl+alt+t
e2e_expect_shown "$win" 5000 "the stored combination"

# Cancelled: the stored value stays.
kill -TERM "$pid"
e2e_wait_exit "$pid" 10000
[[ $(e2e_pair_value "$settings" m_cs_hotkey) == 196692 ]] ||
    e2e_fail "the cancelled dialog changed the stored hotkey"
e2e_pass
