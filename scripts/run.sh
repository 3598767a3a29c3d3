#!/usr/bin/env bash
# Sets up, builds and starts Pendrel.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  echo "pendrel: no display found; start it under a virtual one instead: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
exec build/release/bin/pendrel "$@"
