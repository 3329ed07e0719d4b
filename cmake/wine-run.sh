#!/bin/sh
# Runs a Windows program under wine without a display and without wine's own messages: no
# Mono or Gecko installer, no dialog at the first start of a prefix. The caller's WINEPREFIX
# is used; without one, a prefix of this user's own in the temporary folder.
: "${WINEPREFIX:=${TMPDIR:-/tmp}/termix-wine-$(id -u)}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
unset DISPLAY WAYLAND_DISPLAY
exec wine "$@"
