#!/usr/bin/env bash
# Makes docs/window.png, the README's picture of the window after the demo's run: builds the
# picture-taker and storekit, writes the sample to a folder of its own, runs UpDate on it in the
# window (offscreen, no display needed) and saves the window once the run has ended.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target window_shot storekit_cmd
work=$(mktemp -d "${TMPDIR:-/tmp}/kordane-shot.XXXXXX")
trap 'rm -rf "$work"' EXIT
./build/storekit sample "$work/sample" >/dev/null
mkdir -p docs
(cd "$work/sample" && QT_QPA_PLATFORM=offscreen "$root/build/window_shot" "$root/docs/window.png")
echo "written: docs/window.png"
