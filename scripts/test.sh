#!/usr/bin/env bash
# Sets up, checks the formatting, builds with warnings as errors and runs every test: unit, data,
# widget (offscreen) and end-to-end (Xvfb) tests on the regular build, the Debian package with
# lintian and the desktop-entry and AppStream checks, the whole suite again under
# AddressSanitizer + UBSan, a bounded run of each fuzz target, and the Windows cross build with
# its tests and a termix-cli comparison under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

bash scripts/setup.sh

echo "== format (clang-format) =="
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -d '' sources < <(git ls-files -z -- '*.cpp' '*.h')
else
  mapfile -d '' sources < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0)
fi
clang-format --dry-run --Werror "${sources[@]}"

echo "== build and test =="
cmake --preset default -DTERMIX_BUILD_TESTS=ON -DTERMIX_WERROR=ON
cmake --build --preset default -j"$jobs"
ctest --preset default -j"$jobs"

echo "== package (.deb) and its checks =="
(cd build && cpack -G DEB)
lintian --fail-on error build/termix_*.deb
desktop-file-validate packaging/org.vantrel.Termix.desktop
appstreamcli validate --no-net packaging/org.vantrel.Termix.metainfo.xml

echo "== sanitizers (ASan + UBSan) =="
cmake --preset asan -DTERMIX_WERROR=ON
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs" -LE e2e

echo "== fuzzing (bounded) =="
CXX=clang++ cmake --preset fuzz
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz

echo "== Windows (Qt for mingw-w64, the whole program, its tests and window under wine) =="
# A fresh wine prefix for the build steps and the tests; no wine messages, no Mono or Gecko
# installer. The window scenarios keep a prefix of their own (tests/e2e-win/lib-wine.sh).
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
bash scripts/build-windows.sh
TERMIX_QT_MINGW=$(bash scripts/build-qt-mingw.sh --print-prefix)
export TERMIX_QT_MINGW
ctest --preset mingw -j"$jobs"
bash scripts/compare-windows-cli.sh build/bin build-mingw/bin
