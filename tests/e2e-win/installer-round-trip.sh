#!/usr/bin/env bash
# The Windows installer's round trip in a fresh wine prefix, silently as a deployment tool runs
# it: install; the files, the Start-menu shortcut, the "Apps & features" entry and the program's
# icon and version; termix-cli.exe and termix.exe in installed mode (search, copy, exit; their
# data in %APPDATA%\Termix, nothing written beside them); an upgrade refused while termix.exe
# runs; an upgrade to a higher version (the same files packed again); the uninstall, after which
# the user's data remains.
#
# Usage: installer-round-trip.sh SETUP_EXE NSIS_SCRIPT MAKENSIS XPROBE NATIVE_CLI
source "$(dirname "$0")/lib-wine.sh"
setup=${1:?installer} script=${2:?configured termix.nsi} makensis=${3:?makensis}
[[ -f $setup ]] || e2e_skip "$setup has not been built"
for tool in "$makensis" wrestool icotool; do
    command -v "$tool" >/dev/null || e2e_skip "$tool is not installed"
done
wine_start_desktop "$4" "$5"
TERMIX_E2E_WINEPREFIX=$E2E_WORK/prefix # a fresh one, removed with the work folder
wine_prepare_prefix

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
installed_files="Termix.CGlossary.termix Termix.installed readme.txt termix-cli.exe termix.exe uninstall.exe"
version=$(basename "$setup")
version=${version#termix-}
version=${version%%-*}
next_version=${version%.*}.$((${version##*.} + 1))
E2E_APP="$WINEPREFIX/drive_c/Program Files/Termix"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Termix.lnk"

# The value NAME of the uninstall entry, or status 1 without one.
entry_value() {
    wine reg query "$uninstall_key\\Termix" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print; found = 1 }
                          END { exit !found }'
}
folder_listing() {
    (cd "$E2E_APP" && LC_ALL=C ls -A | tr '\n' ' ' | sed 's/ $//')
}
run_setup() {
    wine "$1" /S >>"$E2E_WORK/setup.log" 2>&1
}

# A newer version: the same files in an installer with a higher version number.
e2e_log "packing version $next_version"
"$makensis" -V2 -INPUTCHARSET UTF8 -DVERSION="$next_version" \
    -DOUTFILE="$E2E_WORK/termix-$next_version-setup.exe" "$script" >"$E2E_WORK/makensis.log" 2>&1 ||
    e2e_fail "makensis failed: $(cat "$E2E_WORK/makensis.log")"

e2e_log "installing $version"
run_setup "$setup" || e2e_fail "the silent install ended with status $?"
[[ $(folder_listing) == "$installed_files" ]] ||
    e2e_fail "Program Files\\Termix holds \"$(folder_listing)\", not \"$installed_files\""
[[ -f $shortcut ]] || e2e_fail "no Start-menu shortcut Termix.lnk"
# Its target (an ANSI path) and its icon (a UTF-16 one).
strings "$shortcut" | grep -qxF 'C:\Program Files\Termix\termix.exe' ||
    e2e_fail "the shortcut does not start termix.exe: $(strings "$shortcut" | tr '\n' ' ')"
strings -e l "$shortcut" | grep -qF 'C:\Program Files\Termix\termix.exe' ||
    e2e_fail "the shortcut does not take the icon of termix.exe"
for expected in "DisplayName=Termix" "DisplayVersion=$version" "Publisher=The Termix developers" \
    'DisplayIcon=C:\Program Files\Termix\termix.exe,0' \
    'UninstallString="C:\Program Files\Termix\uninstall.exe"'; do
    value=$(entry_value "${expected%%=*}") || e2e_fail "the uninstall entry lacks ${expected%%=*}"
    [[ $value == "${expected#*=}" ]] || e2e_fail "${expected%%=*} is \"$value\", not \"${expected#*=}\""
done

# Explorer's view of termix.exe: every icon size and the version resource.
wrestool -x --type=14 "$E2E_APP/termix.exe" >"$E2E_WORK/termix.ico" 2>/dev/null ||
    e2e_fail "termix.exe has no icon"
sizes=$(icotool -l "$E2E_WORK/termix.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | tr '\n' ' ')
[[ $sizes == "16 24 32 48 64 128 256 " ]] || e2e_fail "the icon's sizes are $sizes"
resource=$(wrestool -x --raw --type=16 "$E2E_APP/termix.exe" | tr -d '\0') ||
    e2e_fail "termix.exe has no version resource"
for expected in "ProductNameTermix" "ProductVersion$version" "CompanyNameThe Termix developers" \
    "LegalCopyrightCopyright"; do
    [[ $resource == *"$expected"* ]] || e2e_fail "the version resource lacks $expected"
done

# Installed mode: every data file in %APPDATA%\Termix.
appdata=$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
where=$(cd "$E2E_WORK" && wine "C:\\Program Files\\Termix\\termix-cli.exe" where 2>&1 | tr -d '\r') ||
    e2e_fail "termix-cli.exe where failed: $where"
expected_where="mode: installed
settings: $appdata\\Termix\\Termix.CConfGlobal.cfg
glossary: $appdata\\Termix\\Termix.CGlossary.termix
history: $appdata\\Termix\\Termix.CHistroy.termix"
[[ $where == "$expected_where" ]] || e2e_fail "termix-cli.exe where printed: $where"
data=$(winepath -u "$appdata\\Termix" 2>/dev/null)

e2e_log "running the installed termix.exe"
wine_start_shown
wine_search_and_copy_use_case

# An upgrade while the program runs changes nothing.
status=0
run_setup "$E2E_WORK/termix-$next_version-setup.exe" || status=$?
[[ $status == 2 ]] || e2e_fail "the upgrade beside a running termix.exe ended with status $status"
[[ $(entry_value DisplayVersion) == "$version" ]] || e2e_fail "the refused upgrade changed the entry"

wine_focus_window "$win"
xdotool key Escape
e2e_wait_exit "$pid" 20000
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "termix.exe ended with status $E2E_EXIT_STATUS"
[[ -f $data/Termix.CConfGlobal.cfg ]] || e2e_fail "no settings in $data"
cmp -s "$data/Termix.CGlossary.termix" "$E2E_APP/Termix.CGlossary.termix" ||
    e2e_fail "the glossary in $data is not the installed one"
[[ $(folder_listing) == "$installed_files" ]] ||
    e2e_fail "the program wrote into its installation: $(folder_listing)"
cp -a "$data" "$E2E_WORK/data-before"

e2e_log "upgrading to $next_version"
run_setup "$E2E_WORK/termix-$next_version-setup.exe" || e2e_fail "the upgrade ended with status $?"
[[ $(entry_value DisplayVersion) == "$next_version" ]] || e2e_fail "the entry was not upgraded"
entries=$(wine reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | grep -c 'DisplayName.*REG_SZ *Termix$' || true)
[[ $entries == 1 ]] || e2e_fail "$entries entries of Termix in Apps & features after the upgrade"
[[ $(folder_listing) == "$installed_files" ]] || e2e_fail "after the upgrade: $(folder_listing)"
diff -r "$E2E_WORK/data-before" "$data" >/dev/null || e2e_fail "the upgrade changed the user's data"

e2e_log "uninstalling"
uninstall=$(entry_value QuietUninstallString) || e2e_fail "no QuietUninstallString"
[[ $uninstall == '"C:\Program Files\Termix\uninstall.exe" /S' ]] ||
    e2e_fail "QuietUninstallString is $uninstall"
# The uninstaller runs on from a copy of itself in the temporary folder: wait for its last step,
# the removal of the uninstall entry (the folder goes before the shortcut and the entry).
wine "C:\\Program Files\\Termix\\uninstall.exe" /S >>"$E2E_WORK/setup.log" 2>&1 ||
    e2e_fail "the silent uninstall ended with status $?"
e2e_wait_for 60000 eval '! wine reg query "$uninstall_key\\Termix" >/dev/null 2>&1' ||
    e2e_fail "the uninstall entry remains 60 s after the uninstaller started"
[[ ! -e $E2E_APP ]] || e2e_fail "Program Files\\Termix remains: $(folder_listing)"
[[ ! -e $shortcut ]] || e2e_fail "the shortcut remains"
diff -r "$E2E_WORK/data-before" "$data" >/dev/null || e2e_fail "the uninstall changed the user's data"
e2e_pass
