#!/usr/bin/env bash
# A screen reader on the accessibility bus (AT-SPI) finds every control of the main window
# named, the edit fields named by their labels, the focus on the input, the link a link whose
# action opens its address, and hears the summary and the detail fields change after a search.
# The program, the accessibility bus and the reader share a D-Bus session of their own.
set -euo pipefail
if [[ -z ${E2E_OWN_BUS:-} ]] && command -v dbus-run-session >/dev/null; then
    E2E_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/../lib.sh"
e2e_init "$@"
[[ -n ${E2E_OWN_BUS:-} ]] || e2e_skip "dbus-run-session is not installed"
[[ -x /usr/libexec/at-spi-bus-launcher ]] || e2e_skip "at-spi2-core is not installed"
# The Debian package's reader library belongs to the system's Python.
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || e2e_skip "python3-pyatspi is not installed"

# The link's action goes to this browser, which writes down the address it was given.
mkdir -p "$E2E_WORK/browser"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$E2E_WORK" >"$E2E_WORK/browser/xdg-open"
chmod +x "$E2E_WORK/browser/xdg-open"
export PATH=$E2E_WORK/browser:$PATH

# Qt speaks to the accessibility bus only when asked; a desktop asks through the bus's status,
# which a bare session does not set.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_write_settings
e2e_start_termix
e2e_wait_window
e2e_focus_window "$E2E_WIN"

"$python" "$(dirname "$0")/../screen-reader-check.py" "$E2E_TITLE" "$E2E_WORK/opened" \
    >"$E2E_WORK/reading.txt" 2>"$E2E_WORK/reader.log" || {
    cat "$E2E_WORK/reading.txt" "$E2E_WORK/reader.log" >&2
    e2e_fail "the screen reader's check failed"
}
cat "$E2E_WORK/reading.txt" >&2
e2e_pass
