#!/usr/bin/env bash
# The stored hotkey Ctrl+Alt+T (196692) goes to RegisterHotKey: when another program already
# holds it, the system refuses it and the program says so in a message box at start. (Wine takes
# and refuses registrations as Windows does, but drops the WM_HOTKEY it posts to a thread, so the
# key press itself is not tried here.)
source "$(dirname "$0")/../lib-wine.sh"
wine_init "$@"
holder=${4:?path of termix_platform_win_gui_tests.exe}
e2e_write_settings m_cs_hotkey 196692

wine "$holder" --hold-hotkey >"$E2E_WORK/holder.log" 2>&1 &
e2e_track $!
e2e_wait_for 30000 grep -q held "$E2E_WORK/holder.log" || e2e_fail "the other program could not take Ctrl+Alt+T"
wine_start_termix
e2e_wait_for 30000 e2e_find_program_window '^Termix$' >/dev/null ||
    e2e_fail "no message for the refused hotkey"
e2e_pass
