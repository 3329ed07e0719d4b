#!/usr/bin/env bash
# Termix installed into a prefix that only root may write, run by an ordinary user with a fresh
# home: the user's first glossary is a copy of the installed one, a term added in the data
# configuration window is there after a restart, the settings live in the user's config folder
# and the installed files stay as they were.
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
cli=$E2E_BIN_DIR/termix-cli
[[ -x $cli ]] || e2e_skip "termix-cli has not been built"
command -v setpriv >/dev/null || e2e_skip "setpriv is not installed"

prefix=$E2E_WORK/prefix
cmake --install "$E2E_BIN_DIR/.." --prefix "$prefix" >"$E2E_WORK/install.log" 2>&1 ||
    e2e_fail "cmake --install failed: $(tail -3 "$E2E_WORK/install.log")"
chmod -R go-w "$prefix"
chmod 0755 "$E2E_WORK"
installed=$prefix/share/termix/Termix.CGlossary.termix
cp "$installed" "$E2E_WORK/installed.before"

# The user: nobody when the test runs as root, else the caller.
home=$E2E_WORK/home
runtime=$E2E_WORK/user-runtime
mkdir -m 0700 "$home" "$runtime"
if (($(id -u) == 0)); then
    chown 65534:65534 "$home" "$runtime"
    E2E_LAUNCH=(setpriv --reuid=65534 --regid=65534 --clear-groups
        env HOME="$home" XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME= XDG_DATA_HOME=)
else
    E2E_LAUNCH=(env HOME="$home" XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME= XDG_DATA_HOME=)
fi
E2E_APP=$prefix/bin
glossary=$home/.local/share/termix/Termix.CGlossary.termix
settings=$home/.config/termix/Termix.CConfGlobal.cfg

e2e_start_shown
[[ -f $settings ]] || e2e_fail "no settings file in the user's config folder"
cmp -s "$glossary" "$installed" || e2e_fail "the user's glossary is not a copy of the installed one"
e2e_open_config
e2e_add_term "Zyzzyva" "weevil beetle"
e2e_leave_config
e2e_focus_window "$win"
xdotool key Escape
e2e_wait_exit "$pid" 10000
"$cli" --file "$glossary" show Zyzzyva >/dev/null || e2e_fail "the added term is not in the user's glossary"

# The restarted program reads the user's glossary, not the installed one: with the file moved
# away, leaving the window writes the term anew from memory.
e2e_start_shown
mv "$glossary" "$glossary.before"
e2e_open_config
e2e_leave_config
"$cli" --file "$glossary" show Zyzzyva >/dev/null || e2e_fail "the restarted program lost the term"
e2e_focus_window "$win"
xdotool key Escape
e2e_wait_exit "$pid" 10000

cmp -s "$installed" "$E2E_WORK/installed.before" || e2e_fail "the installed glossary changed"
[[ -z $(find "$prefix" -newer "$E2E_WORK/installed.before" -type f) ]] ||
    e2e_fail "files in the installation changed"
e2e_pass
