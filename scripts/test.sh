#!/usr/bin/env bash
# Sets up, builds and runs every test; ctest prints the summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
preset="${PENDREL_PRESET:-release}"
[ "${CI:-}" = "true" ] && preset="ci"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" "$@"
