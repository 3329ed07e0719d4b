#!/usr/bin/env bash
# Sets up and runs the tests in stages (see README, "Test it"): quick (format check, build, unit,
# data, widget and end-to-end tests), package, asan, fuzz, windows.
# Usage: test.sh [STAGE...]; with no stage, all of them in this order, as CI runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
stages=("$@")
((${#stages[@]})) || stages=(quick package asan fuzz windows)
for stage in "${stages[@]}"; do
  [[ $stage =~ ^(quick|package|asan|fuzz|windows)$ ]] ||
    { echo "test.sh: unknown stage '$stage' (quick, package, asan, fuzz, windows)" >&2; exit 2; }
done

bash scripts/setup.sh
for stage in "${stages[@]}"; do
  echo "== $stage =="
  if [[ $stage == quick ]]; then
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
      mapfile -d '' sources < <(git ls-files -z -- '*.cpp' '*.h')
    else
      mapfile -d '' sources < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0)
    fi
    clang-format --dry-run --Werror "${sources[@]}"
  fi
  if [[ $stage =~ ^(quick|package|windows)$ ]]; then  # the Linux build the stage tests or compares with
    cmake --preset default -DTERMIX_BUILD_TESTS=ON -DTERMIX_WERROR=ON
    cmake --build --preset default -j"$jobs"
  fi
  case $stage in
    quick) ctest --preset default -j"$jobs" ;;
    package)
      (cd build && cpack -G DEB)
      lintian --fail-on error build/termix_*.deb
      desktop-file-validate packaging/org.vantrel.Termix.desktop
      appstreamcli validate --no-net packaging/org.vantrel.Termix.metainfo.xml
      ;;
    asan)
      cmake --preset asan -DTERMIX_WERROR=ON
      cmake --build --preset asan -j"$jobs"
      ctest --preset asan -j"$jobs" -LE e2e
      ;;
    fuzz)
      CXX=clang++ cmake --preset fuzz
      cmake --build --preset fuzz -j"$jobs"
      ctest --preset fuzz
      ;;
    windows)
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
      ;;
  esac
done
