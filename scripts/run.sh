#!/usr/bin/env bash
# Sets up, builds and starts Termix on its bundled glossary.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh run
cmake --preset default -DTERMIX_BUILD_TESTS=OFF
cmake --build --preset default

if [[ -x build/bin/termix ]]; then
  exec build/bin/termix
fi
# Without the window program, show the bundled glossary through the command-line companion.
exec build/bin/termix-cli all
