#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: native unit and
# render tests, short fuzz runs, and the end-to-end tests of the Windows
# programs under Wine. Fails when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

status=0
run() {
  echo
  echo "=== $* ==="
  local t0=$SECONDS
  "$@" || status=1
  echo "=== $* took $((SECONDS - t0)) s ==="
}

run cmake --workflow --preset native
if [ -f tests/fuzz/CMakeLists.txt ]; then run cmake --workflow --preset fuzz; fi
run cmake --workflow --preset windows

echo
[ $status -eq 0 ] && echo "all test suites passed" || echo "some tests FAILED"
exit $status
