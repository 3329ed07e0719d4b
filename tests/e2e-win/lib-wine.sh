# shellcheck shell=bash
# Shell library of the Windows end-to-end scenarios: termix.exe from the portable zip, unpacked
# into a folder with a Chinese name, run under wine on a private Xvfb with icewm and driven with
# xdotool like the Linux program (the X server, window manager and waits of ../e2e/lib.sh).
#
# A scenario sources this file and calls
#   wine_init "$@"   # arguments from CTest: <portable zip> <native xprobe> <native termix-cli>
# or, to install the program otherwise (the installer), wine_start_desktop and
# wine_prepare_prefix, and sets E2E_APP to the program's folder.
# The native termix-cli reads the files the program writes (same format on both systems).
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
E2E_SCENARIO=$(basename "${BASH_SOURCE[1]:-$0}" .sh)
E2E_WM_CLASS=termix.exe

# wine_init ZIP XPROBE CLI
wine_init() {
    local zip=${1:?portable zip}
    command -v unzip >/dev/null || e2e_skip "unzip is not installed"
    [[ -f $zip ]] || e2e_skip "$zip has not been built"
    wine_start_desktop "$2" "$3"
    wine_prepare_prefix
    # Portable mode in a folder with a Chinese name and a space: the data files live there.
    E2E_APP="$E2E_WORK/术语 词典"
    mkdir -p "$E2E_APP"
    unzip -q -j "$zip" -d "$E2E_APP"
    [[ -f $E2E_APP/termix.exe && -f $E2E_APP/Termix.CGlossary.termix ]] ||
        e2e_fail "the zip lacks termix.exe or the glossary"
}

# wine_start_desktop XPROBE CLI: the X server and the window manager, with a fresh work folder
# in E2E_WORK.
wine_start_desktop() {
    local tool
    E2E_XPROBE=${1:?path of termix-e2e-xprobe}
    WINE_CLI=${2:?path of the native termix-cli}
    for tool in wine wineserver xdotool xdpyinfo xprop xclip; do
        command -v "$tool" >/dev/null || e2e_skip "$tool is not installed"
    done
    [[ -x $E2E_XPROBE && -x $WINE_CLI ]] ||
        e2e_skip "the native build (termix-e2e-xprobe, termix-cli) is missing"
    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/termix-e2e-wine.XXXXXX")
    trap wine_cleanup EXIT
    trap 'exit 130' INT TERM
    export LC_ALL=C.UTF-8
    export XDG_RUNTIME_DIR=$E2E_WORK/runtime
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
    e2e_start_x
    e2e_start_wm
}

# The scenarios' own wine prefix (made once, about 30 s), with a Chinese font the program's
# dialogs can use. Its wineserver ends with each scenario, so that wine's desktop process starts
# again on the next scenario's display.
wine_prepare_prefix() {
    export WINEPREFIX=${TERMIX_E2E_WINEPREFIX:-${TMPDIR:-/tmp}/termix-wine-e2e-$(id -u)}
    # No Mono or Gecko installer; no menu entries or file associations on the host for what
    # is installed in the prefix.
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        e2e_log "making the wine prefix $WINEPREFIX"
        wine wineboot --init >/dev/null 2>&1 || e2e_fail "wineboot failed"
        wineserver -w
    fi
    local font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    if [[ -f $font && ! -f $fonts/wqy-microhei.ttc ]]; then
        mkdir -p "$fonts"
        cp "$font" "$fonts/"
    fi
}

wine_cleanup() {
    local status=$?
    wineserver -k 2>/dev/null || true
    # e2e_cleanup exits with the status it finds in $?.
    (exit "$status")
    e2e_cleanup
}

# Starts termix.exe from its folder in the background; its pid is in E2E_TERMIX_PID.
wine_start_termix() {
    (cd "$E2E_APP" && exec wine ./termix.exe "$@") >>"$E2E_WORK/termix.log" 2>&1 &
    E2E_TERMIX_PID=$!
    e2e_track "$E2E_TERMIX_PID"
}

# Starts the program, waits for its window shown and focused; the process in pid, the window in
# win.
wine_start_shown() {
    wine_start_termix "$@"
    pid=$E2E_TERMIX_PID
    # wine takes a few seconds to start a program
    e2e_wait_window 30000
    win=$E2E_WIN
    e2e_expect_shown "$win" 10000 "after start"
    wine_focus_window "$win"
}

# Gives the main window the keyboard focus as a user does: a click into its input field (under
# wine the window manager's activation alone leaves the focus on its own frame).
wine_focus_window() {
    local attempt
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        e2e_click_at "$1" $E2E_MAIN_W $E2E_MAIN_H 86 13
        e2e_wait_for 1000 e2e_is_active "$1" && return 0
    done
    e2e_fail "window $1 is not active (before typing)"
}

# The text on the X clipboard (wine hands the Windows clipboard to X11).
wine_clipboard() {
    xclip -o -selection clipboard 2>/dev/null
}

# In the shown window $win: types "use case", Enter, clicks "复制", and checks that the X
# clipboard then holds "用例(use case)".
wine_search_and_copy_use_case() {
    xdotool type --delay 30 "use case"
    xdotool key Return
    sleep 0.5
    e2e_click_at "$win" $E2E_MAIN_W $E2E_MAIN_H 180 176 # "复制"
    e2e_wait_for 5000 test "$(wine_clipboard)" = "用例(use case)" ||
        e2e_fail "the clipboard holds \"$(wine_clipboard)\", not 用例(use case)"
}

# True when WINDOW is the topmost window the window manager stacks (in front of every other).
wine_is_in_front() {
    local stacking
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null) || return 1
    [[ $((${stacking##* })) == "$(($1))" ]]
}
