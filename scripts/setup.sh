#!/usr/bin/env bash
# Installs the Debian 12 packages Termix needs to build, run and test. Safe to run again.
# Usage: setup.sh [run|windows]
#   run:     only what building and running the program needs
#   windows: what the Windows cross build (scripts/build-windows.sh) needs
#   (none):  everything the whole test suite needs
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libx11-dev libxcb1-dev libx11-xcb-dev libxcb-keysyms1-dev libfontconfig-dev
  # the Chinese texts of the windows
  fonts-wqy-microhei
)
windows=(
  # the Windows cross build: Qt built from Debian's own source (dpkg-dev unpacks it), GoogleTest
  # from source, the tests under wine
  g++-mingw-w64-x86-64-posix dpkg-dev googletest wine wine64
  # the program icon (icotool; its round-trip test reads it back with wrestool) and the installer
  icoutils nsis
)
case ${1:-} in
  run) ;;
  windows) packages+=("${windows[@]}") ;;
  *)
    packages+=("${windows[@]}"
      # the format check of the test script
      clang-format
      # tests, sanitizers, fuzzing and benchmarks
      libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
      # the end-to-end tests: an X server, a window manager with a tray, a driver, the clipboard
      xvfb icewm xdotool x11-utils xclip
      # keyboard mapping changes in the hotkey test
      x11-xserver-utils
      # the Wayland hotkey test: a headless KWin with XWayland, the KDE portal on a private D-Bus
      # session, and the key injector's build (KWin's fake-input protocol)
      kwin-wayland xdg-desktop-portal xdg-desktop-portal-kde qtwayland5 dbus-daemon
      libwayland-dev plasma-wayland-protocols
      # the independent peer that writes and reads TBX v2 beside termix-cli
      translate-toolkit
      # the screen-reader test: the accessibility bus and a reader of it
      at-spi2-core python3-pyatspi
      # the Debian package and the checks of what gets installed
      dpkg-dev lintian desktop-file-utils appstream
      # the portable zip for Windows, checked by unpacking it
      unzip)
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
