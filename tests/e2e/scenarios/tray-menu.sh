#!/usr/bin/env bash
# The tray icon: its menu hides and shows the window, a double-click shows it, and the icon is
# gone when the program has ended.
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
e2e_write_settings

e2e_start_termix
pid=$E2E_TERMIX_PID
e2e_wait_window
win=$E2E_WIN
e2e_expect_shown "$win" 5000 "after start"
e2e_wait_for 5000 e2e_tray_icon >/dev/null || e2e_fail "no tray icon"

e2e_tray_menu_choose 1 # "&d 隐藏"
e2e_expect_hidden "$win" 5000 "tray menu hide"
e2e_tray_menu_choose 0 # "&s 显示"
e2e_expect_shown "$win" 5000 "tray menu show"
e2e_expect_active "$win" 5000 "tray menu show"

e2e_tray_menu_choose 1
e2e_expect_hidden "$win" 5000 "tray menu hide again"
e2e_tray_double_click
e2e_expect_shown "$win" 5000 "double-click on the tray icon"

# A single click does nothing.
e2e_tray_menu_choose 1
e2e_expect_hidden "$win" 5000 "hide before the single click"
icon=$(e2e_tray_icon)
xdotool mousemove --window "$icon" 12 12 click 1
sleep 0.5
e2e_is_hidden "$win" || e2e_fail "a single click changed the window"

kill -TERM "$pid"
e2e_wait_exit "$pid" 10000
e2e_tray_icon >/dev/null && e2e_fail "the tray icon outlived the program"
e2e_pass
