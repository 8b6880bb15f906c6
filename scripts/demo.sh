#!/usr/bin/env bash
# Builds, writes the sample store and price list, and starts the window on them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# only the window and storekit: the tests are built by scripts/test.sh
cmake --build build -j"$(nproc)" --target kordane storekit_cmd
./build/storekit sample sample --replace
cd sample
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here: the window runs under Xvfb (xvfb-run), where nothing can be pressed."
  echo "Ctrl-C ends it; scripts/screenshot.sh runs UpDate on the sample without a display."
  exec xvfb-run -a ../build/kordane
fi
echo "Press UpDate: prices updated, a new part inserted with its replacement number, two parts listed in the grid."
exec ../build/kordane
