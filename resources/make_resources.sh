#!/usr/bin/env bash
# Redraws the icon and the button pictures into this folder. Commit what it writes.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build/resources}"
cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target make_resources
QT_QPA_PLATFORM=offscreen "$build/platform/qt/make_resources" "$here"
