#!/usr/bin/env bash
# Redraws the icon and the button pictures into this folder: the window's icon (pendrel.png,
# and pendrel.ico for Pendrel.exe), the desktop theme's icons (pendrel-icon-<size>.png and
# pendrel-icon.svg) and the three buttons. Commit what it writes.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build/resources}"
cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target make_resources
QT_QPA_PLATFORM=offscreen "$build/platform/qt/make_resources" "$here"
