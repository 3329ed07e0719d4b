#!/usr/bin/env bash
# Builds Qt (qtbase only: Core, Gui, Widgets, Test and the windows/offscreen platform plugins)
# for 64-bit Windows with Debian's mingw-w64, from Debian's own qt6-base source of the same
# version as the host tools (qt6-base-dev-tools) that the cross build uses for moc, rcc and uic.
#
# The result is installed into a cache folder named after the source version and a hash of the
# configure options and of the toolchain file, reused while it is complete, built again when missing
# or when the key changes. Nothing of it lands in the repository.
#
# Usage: build-qt-mingw.sh [--print-prefix]
#   prints the install prefix as its last line; with --print-prefix only prints where it would
#   be and exits 0 when it is complete, 1 when it still has to be built.
# Environment: TERMIX_QT_CACHE (default ${XDG_CACHE_HOME:-~/.cache}/termix).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$here/cmake/mingw-w64.cmake
cache_root=${TERMIX_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/termix}

version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
if [[ -z $version ]]; then
  echo "build-qt-mingw: qt6-base-dev-tools is not installed (run scripts/setup.sh)" >&2
  exit 2
fi

# Static: termix.exe then needs no Qt DLL, no plugin folder and no qt.conf beside it, the
# portable zip is three files, and nothing of another Qt on the user's PATH can be picked up.
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_network=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_opengl=OFF
  -DINPUT_opengl=no
  -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_vulkan=OFF
  -DFEATURE_jpeg=OFF
  -DFEATURE_gif=OFF
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_png=OFF
  -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF
  # Debian's repacked source lacks the wintab header the tablet support of the windows
  # platform plugin includes.
  -DFEATURE_tabletevent=OFF
)
key=$( (printf "%s\n" "${options[@]}"; cat "$toolchain") | sha256sum | cut -c1-12)
prefix=$cache_root/qt-mingw-${version//[^A-Za-z0-9.+-]/_}-$key
stamp=$prefix/.complete

if [[ ${1:-} == --print-prefix ]]; then
  echo "$prefix"
  [[ -f $stamp ]]
  exit
fi
if [[ -f $stamp ]]; then
  echo "Qt for mingw-w64 $version: cached in $prefix"
  echo "$prefix"
  exit 0
fi

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

# apt-get source needs deb-src entries: made from the machine's own deb entries, so the source
# comes from the same archive as the packages.
if ! apt-get source --print-uris qt6-base="$version" >/dev/null 2>&1; then
  echo "Adding deb-src entries beside the deb entries"
  list=/etc/apt/sources.list.d/termix-deb-src
  {
    for f in /etc/apt/sources.list.d/*.sources; do
      [[ -f $f && $f != "$list.sources" ]] || continue
      sed -n 's/^Types:.*\bdeb\b.*/Types: deb-src/; /^Types:\|^URIs:\|^Suites:\|^Components:\|^Signed-By:\|^$/p' "$f"
      echo
    done
  } | "${sudo_cmd[@]}" tee "$list.sources" >/dev/null
  if [[ -f /etc/apt/sources.list ]]; then
    sed -n 's/^deb\s/deb-src /p' /etc/apt/sources.list | "${sudo_cmd[@]}" tee "$list.list" >/dev/null
  fi
  "${sudo_cmd[@]}" apt-get update -q
fi

work=$cache_root/qt-mingw-work-$key
rm -rf "$work"
mkdir -p "$work"
start=$(date +%s)
echo "Fetching qt6-base $version source"
(cd "$work" && apt-get source -q qt6-base="$version" >/dev/null)
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)

echo "Configuring Qt for mingw-w64 into $prefix"
cmake -S "$src" -B "$work/build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DCMAKE_CROSSCOMPILING_EMULATOR= "${options[@]}" >"$work/configure.log" ||
  { tail -n 40 "$work/configure.log" >&2; exit 1; }

echo "Building Qt for mingw-w64 (about 40 minutes on 2 cores; log: $work/build.log)"
if ! cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1; then
  tail -n 40 "$work/build.log" >&2
  exit 1
fi
rm -rf "$prefix"
cmake --install "$work/build" >"$work/install.log"
touch "$stamp"
rm -rf "$work"
echo "Qt for mingw-w64 built in $(($(date +%s) - start)) s: $prefix ($(du -sh "$prefix" | cut -f1))"
echo "$prefix"
