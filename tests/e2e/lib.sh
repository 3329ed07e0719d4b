# shellcheck shell=bash
# Shell library for the end-to-end scenarios: a private X server (Xvfb) with a window manager that
# has a system tray (icewm), a private copy of the program and its data files, and helpers to
# drive and observe the program with xdotool and the X utilities.
#
# A scenario script sources this file and calls
#   e2e_init "$@"          # arguments from CTest: <dir holding termix and its data> <xprobe>
# then starts the program with e2e_start_termix, and ends with e2e_pass. Every process started
# here is stopped by its pid when the script exits, whatever way it exits.
set -euo pipefail

readonly E2E_TITLE='Termix v1.2 (Vantrel英汉术语词典)'
# xdotool search --name takes a regular expression.
readonly E2E_TITLE_RE='^Termix v1\.2 \(Vantrel英汉术语词典\)$'
readonly E2E_POLL=0.015
# The class of the program's windows (WM_CLASS); the Windows scenarios set "termix.exe".
E2E_WM_CLASS=termix

E2E_PIDS=()
# A command prefix for starting the program, e.g. to run it as another user.
E2E_LAUNCH=()
E2E_WORK=""
E2E_APP=""
E2E_SCENARIO=$(basename "${BASH_SOURCE[1]:-$0}" .sh)

e2e_log() {
    printf '[%s] %s\n' "$E2E_SCENARIO" "$*" >&2
}

e2e_fail() {
    e2e_log "FAIL: $*"
    local log
    for log in termix.log icewm.log xvfb.log kwin.log; do
        if [[ -n $E2E_WORK && -s $E2E_WORK/$log ]]; then
            e2e_log "$log:"
            tail -n 20 "$E2E_WORK/$log" | sed 's/^/    /' >&2
        fi
    done
    exit 1
}

e2e_pass() {
    e2e_log "PASS"
    exit 0
}

# Skips the scenario (CTest reads exit code 77 as skipped); in CI a missing tool is a missing
# install step, so there it fails.
e2e_skip() {
    [[ ${CI:-} == true ]] && e2e_fail "cannot run in CI: $*"
    e2e_log "SKIP: $*"
    exit 77
}

# e2e_wait_for TIMEOUT_MS COMMAND [ARGS...]: runs COMMAND every 15 ms until it succeeds; fails
# (status 1) when TIMEOUT_MS have passed.
e2e_wait_for() {
    local timeout_ms=$1
    shift
    local deadline=$(($(date +%s%3N) + timeout_ms))
    until "$@"; do
        if (($(date +%s%3N) > deadline)); then
            return 1
        fi
        sleep "$E2E_POLL"
    done
}

# Remembers a pid for the clean-up.
e2e_track() {
    E2E_PIDS+=("$1")
}

# Stops one process by its pid: TERM, then KILL after two seconds.
e2e_stop_pid() {
    local pid=$1
    kill -0 "$pid" 2>/dev/null || return 0
    kill -TERM "$pid" 2>/dev/null || true
    local waited=0
    while kill -0 "$pid" 2>/dev/null && ((waited < 200)); do
        sleep 0.01
        waited=$((waited + 1))
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

e2e_cleanup() {
    local status=$?
    local i
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        e2e_stop_pid "${E2E_PIDS[i]}"
    done
    if [[ -n $E2E_WORK && -d $E2E_WORK && -z ${E2E_KEEP:-} ]]; then
        # The document portal of a scenario's own D-Bus session mounts itself in the runtime
        # folder and ends only with that session, after this.
        if mountpoint -q "$E2E_WORK/runtime/doc" 2>/dev/null; then
            fusermount3 -u -z "$E2E_WORK/runtime/doc" 2>/dev/null || true
        fi
        rm -rf "$E2E_WORK"
    fi
    exit "$status"
}

# True when the X server of pid $1 serves display $2: its lock file holds that pid (another test
# run may start a server at the same moment) and it answers. Status 2 when the server has ended.
e2e_x_ready() {
    kill -0 "$1" 2>/dev/null || return 2
    [[ $(tr -dc '0-9' 2>/dev/null <"/tmp/.X${2#:}-lock") == "$1" ]] &&
        DISPLAY=$2 xdpyinfo >/dev/null 2>&1
}

# Starts Xvfb on a free display and exports DISPLAY. Display numbers are drawn at random from a
# range that desktops do not use, and a server that finds its number taken is replaced. The
# server must not reset when its last client leaves (after the readiness probe): clients that
# connect during a reset are refused.
e2e_start_x() {
    command -v Xvfb >/dev/null || e2e_skip "Xvfb is not installed"
    local attempt number pid status deadline
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        number=$((200 + RANDOM % 700))
        [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
        Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp -noreset >"$E2E_WORK/xvfb.log" 2>&1 &
        pid=$!
        deadline=$(($(date +%s%3N) + 10000))
        while :; do
            status=0
            e2e_x_ready "$pid" ":$number" || status=$?
            if ((status == 0)); then
                e2e_track "$pid"
                export DISPLAY=":$number"
                return 0
            fi
            ((status == 2 || $(date +%s%3N) > deadline)) && break
            sleep "$E2E_POLL"
        done
        e2e_stop_pid "$pid"
    done
    e2e_fail "no X server could be started"
}

# Starts icewm with no key bindings of its own (its defaults take Ctrl+Alt+T) and waits until
# its system tray is there.
e2e_start_wm() {
    command -v icewm >/dev/null || e2e_skip "icewm is not installed"
    mkdir -p "$E2E_WORK/icewm"
    : >"$E2E_WORK/icewm/keys"
    ICEWM_PRIVCFG=$E2E_WORK/icewm icewm >"$E2E_WORK/icewm.log" 2>&1 &
    e2e_track $!
    e2e_wait_for 10000 "$E2E_XPROBE" tray-owner || e2e_fail "icewm's system tray did not appear"
}

# Copies the program and its data files into a private directory (the program keeps its data
# beside itself).
e2e_install_app() {
    E2E_APP=$E2E_WORK/app
    mkdir -p "$E2E_APP"
    cp "$E2E_BIN_DIR/termix" "$E2E_APP/"
    local file
    for file in Termix.CGlossary.termix readme.txt; do
        if [[ -f $E2E_BIN_DIR/$file ]]; then
            cp "$E2E_BIN_DIR/$file" "$E2E_APP/"
        fi
    done
}

# e2e_prepare BIN_DIR XPROBE: the work folder, its clean-up and a private runtime folder.
e2e_prepare() {
    E2E_BIN_DIR=${1:?directory holding termix}
    E2E_XPROBE=${2:?path of termix-e2e-xprobe}
    [[ -x $E2E_BIN_DIR/termix ]] || e2e_skip "$E2E_BIN_DIR/termix has not been built"
    command -v xdotool >/dev/null || e2e_skip "xdotool is not installed"
    command -v xdpyinfo >/dev/null || e2e_skip "xdpyinfo is not installed"
    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/termix-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM
    export LC_ALL=C.UTF-8
    export XDG_RUNTIME_DIR=$E2E_WORK/runtime
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
}

# e2e_init BIN_DIR XPROBE: the whole X11 environment, up to (not including) the program's start.
e2e_init() {
    e2e_prepare "$@"
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY SESSION_MANAGER
    e2e_start_x
    e2e_start_wm
    e2e_install_app
}

# e2e_write_pairs FILE KEY VALUE [KEY VALUE ...]: a pair file, each record
# "NNNN#key = NNNN#value" CR LF with byte lengths.
e2e_write_pairs() {
    local file=$1
    shift
    : >"$file"
    local LC_ALL=C # ${#x} counts bytes
    while (($# >= 2)); do
        printf '%04d#%s = %04d#%s\r\n' "${#1}" "$1" "${#2}" "$2" >>"$file"
        shift 2
    done
}

# e2e_write_settings KEY VALUE ...: the settings file with every key at its plain value, changed
# by the pairs given.
e2e_write_settings() {
    local -A values=(
        [m_cs_startup_window_hide]=No
        [m_cs_exit_or_hide]=No
        [m_cs_esc_exit_or_hide]=No
        [m_cs_startup_search_term_b]=No
        [m_cs_startup_search_term_s]=""
        [m_cs_hotkey]=0
        [m_cs_searched_history_saved]=No
    )
    while (($# >= 2)); do
        values[$1]=$2
        shift 2
    done
    local args=() key
    for key in "${!values[@]}"; do
        args+=("$key" "${values[$key]}")
    done
    e2e_write_pairs "$E2E_APP/Termix.CConfGlobal.cfg" "${args[@]}"
}

# e2e_pair_value FILE KEY: prints the value stored under KEY (status 1 when absent).
e2e_pair_value() {
    local file=$1 key=$2
    [[ -f $file ]] || return 1
    LC_ALL=C awk -v key="$key" 'BEGIN { RS = "\r\n" }
        {
            klen = substr($0, 1, 4) + 0; k = substr($0, 6, klen)
            rest = substr($0, 6 + klen + 3); vlen = substr(rest, 1, 4) + 0
            if (k == key) { print substr(rest, 6, vlen); found = 1; exit }
        }
        END { exit found ? 0 : 1 }' "$file"
}

# Starts a copy of the program in the background; its pid is in E2E_TERMIX_PID.
e2e_start_termix() {
    "${E2E_LAUNCH[@]}" "$E2E_APP/termix" >>"$E2E_WORK/termix.log" 2>&1 &
    E2E_TERMIX_PID=$!
    e2e_track "$E2E_TERMIX_PID"
}

# The main window's id (also while hidden), or status 1 when there is none.
e2e_find_window() {
    e2e_find_program_window "$E2E_TITLE_RE" --all
}

# Waits for the main window to exist (TIMEOUT_MS, default 10 s) and puts its id in E2E_WIN.
e2e_wait_window() {
    local timeout_ms=${1:-10000}
    local deadline=$(($(date +%s%3N) + timeout_ms))
    until E2E_WIN=$(e2e_find_window); do
        (($(date +%s%3N) <= deadline)) || e2e_fail "the main window did not appear"
        sleep "$E2E_POLL"
    done
}

e2e_map_state() {
    xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Map State: //p'
}

# Normal, Iconic, Withdrawn, or nothing when the window manager does not manage the window.
e2e_wm_state() {
    xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'
}

e2e_is_shown() {
    [[ $(e2e_map_state "$1") == IsViewable ]]
}

e2e_is_minimised() {
    [[ $(e2e_map_state "$1") != IsViewable && $(e2e_wm_state "$1") == Iconic ]]
}

# Hidden: not on screen and not minimised either (no taskbar entry).
e2e_is_hidden() {
    local state
    state=$(e2e_wm_state "$1")
    [[ $(e2e_map_state "$1") != IsViewable && $state != Iconic && $state != Normal ]]
}

e2e_is_active() {
    [[ $(xdotool getactivewindow 2>/dev/null) == "$1" ]]
}

e2e_expect_shown() {
    e2e_wait_for "${2:-5000}" e2e_is_shown "$1" || e2e_fail "window $1 is not shown (${3:-})"
}

e2e_expect_hidden() {
    e2e_wait_for "${2:-5000}" e2e_is_hidden "$1" || e2e_fail "window $1 is not hidden (${3:-})"
}

e2e_expect_minimised() {
    e2e_wait_for "${2:-5000}" e2e_is_minimised "$1" ||
        e2e_fail "window $1 is not minimised (${3:-})"
}

e2e_expect_active() {
    e2e_wait_for "${2:-5000}" e2e_is_active "$1" || e2e_fail "window $1 is not active (${3:-})"
}

# e2e_wait_exit PID [TIMEOUT_MS]: waits for a process started here to end; its exit status is
# in E2E_EXIT_STATUS.
e2e_wait_exit() {
    local pid=$1 timeout_ms=${2:-10000}
    e2e_wait_for "$timeout_ms" e2e_not_running "$pid" || e2e_fail "process $pid did not end"
    E2E_EXIT_STATUS=0
    wait "$pid" 2>/dev/null || E2E_EXIT_STATUS=$?
}

e2e_not_running() {
    ! kill -0 "$1" 2>/dev/null && return 0
    # A zombie has ended: an orphan waits there until init collects it, which can take a second.
    [[ $(sed -n 's/^.*) \([A-Z]\).*/\1/p' "/proc/$1/stat" 2>/dev/null) == Z ]]
}

# Makes the main window the active window with keyboard focus, for typing into it.
e2e_focus_window() {
    xdotool windowactivate "$1" 2>/dev/null || true
    e2e_expect_active "$1" 5000 "before typing"
}

# The program's notification-area icon (a window of the program embedded in icewm's tray).
e2e_tray_icon() {
    local id
    for id in $(xdotool search --class '^termix$' 2>/dev/null); do
        if xwininfo -id "$id" -tree 2>/dev/null | grep -q 'Parent window id: .*YXTrayEmbedder'; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# The program's open pop-up menu: a viewable top-level window of the program that is neither the
# main window nor managed by the window manager.
e2e_open_menu() {
    local line id
    while read -r line; do
        id=${line%% *}
        [[ $line == *'("termix" "termix")'* ]] || continue
        [[ $(e2e_map_state "$id") == IsViewable ]] || continue
        echo "$id"
        return 0
    done < <(xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) /\1 /p')
    return 1
}

# e2e_tray_menu_choose INDEX: right-clicks the tray icon and clicks item INDEX of the menu
# (0 "&s 显示", 1 "&d 隐藏"). Menus open with no item highlighted, so the item is clicked at its
# position: the menu holds two items, a separator and the signature line, items of equal height.
e2e_tray_menu_choose() {
    local index=$1 icon menu
    icon=$(e2e_tray_icon) || e2e_fail "the tray icon is missing"
    xdotool mousemove --window "$icon" 12 12 click 3
    e2e_wait_for 3000 e2e_open_menu >/dev/null || e2e_fail "the tray menu did not open"
    menu=$(e2e_open_menu)
    local x y width height
    eval "$(xwininfo -id "$menu" | awk '
        /Absolute upper-left X/ { print "x=" $NF }
        /Absolute upper-left Y/ { print "y=" $NF }
        /Width:/ { print "width=" $NF }
        /Height:/ { print "height=" $NF }')"
    # Item centres at 16 % and 47 % of the height (three items and a thin separator).
    local percent=$((index == 0 ? 16 : 47))
    xdotool mousemove "$((x + width / 3))" "$((y + height * percent / 100))" click 1
    e2e_wait_for 3000 e2e_no_open_menu || e2e_fail "the tray menu did not close"
}

e2e_no_open_menu() {
    ! e2e_open_menu >/dev/null
}

e2e_tray_double_click() {
    local icon
    icon=$(e2e_tray_icon) || e2e_fail "the tray icon is missing"
    xdotool mousemove --window "$icon" 12 12 click --repeat 2 --delay 80 1
}

# e2e_click_at WINDOW DIALOG_W DIALOG_H X Y: clicks the point (X, Y), given in dialog units, of a
# window whose dialog is DIALOG_W x DIALOG_H units: a window's pixel size is its dialog size
# scaled by the dialog font, so a point lies at the same fraction of the window.
e2e_click_at() {
    local win=$1 dw=$2 dh=$3 x=$4 y=$5 width height
    eval "$(xwininfo -id "$win" | awk '/Width:/ { print "width=" $NF } /Height:/ { print "height=" $NF }')"
    xdotool mousemove --window "$win" "$((width * x / dw))" "$((height * y / dh))" click 1
    sleep 0.1
}

# e2e_find_program_window TITLE_RE [--all]: a visible window of the program (with --all, also a
# hidden one) whose title matches; only the program's own top-level window carries the title,
# not a frame.
e2e_find_program_window() {
    local id visible=--onlyvisible
    [[ ${2:-} == --all ]] && visible=
    for id in $(xdotool search $visible --name "$1" 2>/dev/null); do
        if xprop -id "$id" WM_CLASS 2>/dev/null | grep -qF "\"$E2E_WM_CLASS\""; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# e2e_no_program_window TITLE_RE: no visible window of the program has a matching title.
e2e_no_program_window() {
    ! e2e_find_program_window "$1" >/dev/null
}

# e2e_start_shown: starts the program, waits for its main window shown and gives it the focus;
# the process in pid, the window in win.
# Dialog sizes in dialog units, for clicks at control centres.
readonly E2E_MAIN_W=376 E2E_MAIN_H=225 E2E_CONFIG_W=376 E2E_CONFIG_H=238

# The data configuration window, a frameless window of the program titled "数据配置".
e2e_find_config_window() {
    e2e_find_program_window '^数据配置$'
}

e2e_no_config_window() {
    e2e_no_program_window '^数据配置$'
}

# Opens the data configuration window from the main window $win; its id in config.
e2e_open_config() {
    e2e_click_at "$win" $E2E_MAIN_W $E2E_MAIN_H 184 41 # "数据配置"
    e2e_wait_for 5000 e2e_find_config_window >/dev/null ||
        e2e_fail "the data configuration window did not open"
    config=$(e2e_find_config_window)
    e2e_expect_shown "$config" 5000 "data configuration window"
}

e2e_leave_config() {
    e2e_click_at "$config" $E2E_CONFIG_W $E2E_CONFIG_H 190 55 # "到主界面"
    e2e_wait_for 5000 e2e_no_config_window || e2e_fail "到主界面 did not close the window"
}

# Adds TERM with the ASCII MEANING in the open data configuration window. ASCII only: xdotool
# types other characters by remapping a spare key, which races with the client's keymap update.
e2e_add_term() {
    e2e_click_at "$config" $E2E_CONFIG_W $E2E_CONFIG_H 280 90 # term field
    xdotool type --delay 20 "$1"
    e2e_click_at "$config" $E2E_CONFIG_W $E2E_CONFIG_H 280 104 # meaning field
    xdotool type --delay 20 "$2"
    e2e_click_at "$config" $E2E_CONFIG_W $E2E_CONFIG_H 346 70 # "增加"
}

e2e_start_shown() {
    e2e_start_termix
    pid=$E2E_TERMIX_PID
    e2e_wait_window
    win=$E2E_WIN
    e2e_expect_shown "$win" 5000 "after start"
    e2e_focus_window "$win"
}
