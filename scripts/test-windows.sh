#!/usr/bin/env bash
# Builds Pendrel.exe with mingw-w64 and runs the Windows tests under Wine, on a private X
# server and in a private Wine prefix inside the build folder. Exit code non-zero when a
# stage fails. Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/windows
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export LANG=C.UTF-8  # other locales retitle the system's dialogs

if [ "${1:-}" = "--inside-x" ]; then
    shift
    # A cold prefix is made once. Without a window manager a managed window stalls 2 s on
    # closing, so Wine draws its windows itself.
    if [ ! -f "$WINEPREFIX/.pendrel-ready" ]; then
        wineboot -i >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.pendrel-ready"
    fi
    # The screen at the layout's 96 DPI, even if a stopped run left another one set.
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
    status=0
    ctest --preset windows "$@" || status=$?
    wineserver -k || true  # ours only: the prefix is private
    exit $status
fi

cmake --preset windows >/dev/null
cmake --build --preset windows
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside-x "$@"
