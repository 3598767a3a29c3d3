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
# The readers of hostile bytes, fuzzed for a few seconds each from seeds the engine makes, and
# every input that ever found a fault in them (a clang build of their own).
{ cmake --preset fuzz >/dev/null && cmake --build --preset fuzz && ctest --preset fuzz; } ||
    status=$?
# The unit and engine tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
{ cmake --preset asan >/dev/null && cmake --build --preset asan && ctest --preset asan -LE corpus; } ||
    status=$?
# Then Pendrel.exe, cross-built and tested under Wine.
scripts/test-windows.sh || status=$?
exit $status
