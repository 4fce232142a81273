#!/usr/bin/env bash
# Long runs outside CI, for memory growth and leaks. Each prints its figures.
#
#   tools/soak.sh native [FRAMES] [WIDTH HEIGHT]   the scene offscreen for FRAMES frames (default 100000
#                                                 at 320 x 240), resident memory after the warm-up and at the end
#   tools/soak.sh leaks                           valgrind --leak-check=full over the host's and the renderer's
#                                                 unit tests and a short run of the native scene
#   tools/soak.sh wine [SECONDS]                  a whole session under Wine (default 3600 s) with the
#                                                 renderer's resident memory every five minutes
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

build_native() {
  cmake --preset native >/dev/null
  cmake --build --preset native --target "$@"
}

native() {
  build_native soak_bench
  build/native/bench/soak_bench "${1:-100000}" "${2:-320}" "${3:-240}"
}

leaks() {
  build_native hazumaki_host_tests hazumaki_renderer_tests soak_bench
  local status=0 log
  mkdir -p build/soak
  # Only memory that nothing points to any more fails the run; what the GL
  # driver keeps for the process's life is still reachable and only counted.
  # The tests that make operator new fail are left out: valgrind puts its own
  # operator new in place of theirs.
  for run in "build/native/tests/unit/hazumaki_host_tests" \
             "build/native/tests/unit/hazumaki_renderer_tests --gtest_filter=-*NoMemory*:*RingsWithoutPoints*" \
             "build/native/bench/soak_bench 300 64 48"; do
    log=build/soak/valgrind-$(basename "${run%% *}").log
    echo "=== valgrind $run"
    # One rasterizer thread: llvmpipe's thread pool only slows valgrind down.
    if ! LP_NUM_THREADS=0 valgrind --leak-check=full --errors-for-leak-kinds=definite --error-exitcode=1 \
        --suppressions=tools/valgrind.supp --log-file="$log" $run >"$log.out" 2>&1; then
      echo "  FAILED: see $log and $log.out"
      status=1
    fi
    grep -E "in use at exit|All heap blocks|definitely lost|indirectly lost|possibly lost|still reachable|suppressed:|ERROR SUMMARY" "$log" | sed 's/^==[0-9]*== /  /'
  done
  return $status
}

wine_run() {
  local seconds=${1:-3600}
  cmake --preset windows >/dev/null
  cmake --build --preset windows
  export HZ_E2E_STATE=$root/build/soak/e2e HZ_SOURCE_DIR=$root
  bash tests/e2e/lib/environment.sh up
  trap 'bash "$root/tests/e2e/lib/environment.sh" down' EXIT
  # shellcheck disable=SC1091
  source tools/wine/env.sh
  # shellcheck disable=SC1091
  source "$HZ_E2E_STATE/env"
  local dir="$WINEPREFIX/drive_c/Soak" host renderer t=0 rss
  mkdir -p "$dir"
  cp build/windows/bin/Hazumaki.scr build/windows/bin/Hazumaki.dll "$dir/"
  "$HZ_WINE" "$dir/Hazumaki.scr" /s >"$HZ_E2E_STATE/soak.out" 2>&1 &
  host=$!
  for _ in $(seq 1 200); do
    renderer=$(pgrep -f 'Soak.Hazumaki\.dll' | head -n 1 || true)
    [ -n "$renderer" ] && break
    sleep 0.1
  done
  [ -n "${renderer:-}" ] || { echo "no renderer"; kill "$host"; return 1; }
  sleep 60
  echo "renderer (pid $renderer): RSS $(awk '/VmRSS/ {print $2}' "/proc/$renderer/status") kB after 60 s"
  while [ "$t" -lt "$seconds" ]; do
    sleep 300
    t=$((t + 300))
    kill -0 "$renderer" 2>/dev/null || { echo "the renderer ended after $t s"; return 1; }
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$renderer/status")
    echo "after $((t + 60)) s: RSS $rss kB"
  done
  "$HZ_WINE" build/windows/bin/hzprobe.exe post Tovira_VC 0x0010 0 0 >/dev/null 2>&1 || true
  for _ in $(seq 1 100); do kill -0 "$host" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$host" 2>/dev/null && { echo "the host did not end"; kill "$host"; return 1; }
  echo "session ended cleanly"
}

case "${1:-}" in
  native) shift; native "$@" ;;
  leaks) leaks ;;
  wine) shift; wine_run "$@" ;;
  *) sed -n '2,10p' "$0"; exit 2 ;;
esac
