#!/usr/bin/env bash
# run-on-xvfb.sh PROGRAM [ARGS...]: runs a Windows test program under wine on a private Xvfb, for
# the backends that need real windows. It uses the window scenarios' wine prefix: a wineserver
# that programs without a display started (the other tests) would hold its windows elsewhere.
source "$(dirname "$0")/../e2e-win/lib-wine.sh"
command -v wine >/dev/null || e2e_skip "wine is not installed"
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/termix-wine-test.XXXXXX")
trap wine_cleanup EXIT
e2e_start_x
wine_prepare_prefix
wine "$@"
