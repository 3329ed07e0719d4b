#!/usr/bin/env bash
# Cross-builds the whole program for 64-bit Windows: installs what the build needs, builds Qt for
# mingw-w64 when its cache is missing (scripts/build-qt-mingw.sh, about 40 minutes once), builds
# termix.exe, termix-cli.exe and the tests with warnings as errors, and packs the portable zip
# and the installer into build-mingw/dist/.
#
# Usage: build-windows.sh        (run the tests with: ctest --preset mingw, see scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh windows
qt_prefix=$(bash scripts/build-qt-mingw.sh | tail -n 1)
export TERMIX_QT_MINGW=$qt_prefix

# Programs run while building (the picture packer, the glossary import) run under wine, in a
# prefix of this user's own unless the caller chose one.
: "${WINEPREFIX:=${TMPDIR:-/tmp}/termix-wine-$(id -u)}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[[ -f $WINEPREFIX/system.reg ]] || cmake/wine-run.sh wineboot --init >/dev/null 2>&1

cmake --preset mingw -DTERMIX_WERROR=ON
cmake --build --preset mingw -j"$(nproc)"
echo "Windows build: build-mingw/bin; portable zip: $(ls build-mingw/dist/*.zip);" \
  "installer: $(ls build-mingw/dist/*-setup.exe)"
