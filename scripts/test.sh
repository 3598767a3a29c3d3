#!/usr/bin/env bash
# Sets up, builds and runs every test; ctest prints the summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
preset="${PENDREL_PRESET:-release}"
[ "${CI:-}" = "true" ] && preset="ci"
export QT_QPA_PLATFORM=offscreen
status=0
ctest --preset "$preset" "$@" || status=$?
[ -d ../shared/corpus/docs ] ||
    echo "corpus_tests skipped: ../shared/corpus/docs is not beside the project."
# Then Pendrel.exe, cross-built and tested under Wine.
scripts/test-windows.sh || status=$?
exit $status
