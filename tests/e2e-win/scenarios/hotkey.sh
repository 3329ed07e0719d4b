#!/usr/bin/env bash
# The hotkey Ctrl+Alt+T (196692) is registered with RegisterHotKey, which wine turns into a key
# grab on the X server: pressed anywhere, it shows the window hidden at start-up. A hotkey the
# system refuses (the same keys held by another program) is reported in a message box.
source "$(dirname "$0")/../lib-wine.sh"
wine_init "$@"
e2e_write_settings m_cs_hotkey 196692 m_cs_startup_window_hide Yes

wine_start_termix
pid=$E2E_TERMIX_PID
wine_wait_window
win=$E2E_WIN
e2e_expect_hidden "$win" 10000 "start-up hide"
xdotool key ctrl+alt+t
e2e_expect_shown "$win" 10000 "hotkey while hidden"
e2e_pass
