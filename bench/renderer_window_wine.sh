#!/usr/bin/env bash
# Milliseconds from the renderer's process start to its window "Tovira_VC"
# under Wine (with a stand-in host window up, as in a real run), and the
# renderer's peak memory once its 513 textures are made.
# Uses the end-to-end environment of a Windows build:
#
#   ctest --preset windows -R e2e.environment.up
#   bash bench/renderer_window_wine.sh [RUNS]        (default 10)
#   ctest --preset windows -R e2e.environment.down
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HZ_BUILD:-$root/build/windows}
runs=${1:-10}
[ -f "$build/e2e/env" ] || { echo "the end-to-end environment is not up (see the header)" >&2; exit 2; }
# shellcheck disable=SC1091
source "$root/tools/wine/env.sh"
# shellcheck disable=SC1091
source "$build/e2e/env"

folder="$WINEPREFIX/drive_c/HazumakiBench"
mkdir -p "$folder" "$WINEPREFIX/drive_c/k_arden"
cp "$build/bin/Hazumaki.dll" "$folder/"
cp "$root"/host/res/Tovira0{1,2,3}.bmp "$WINEPREFIX/drive_c/k_arden/"
probe() { "$HZ_WINE" "$build/bin/hzprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }

# The renderer's own process, found by its command line in our prefix.
renderer_pid() {
  local pid
  for pid in $(pgrep -f 'HazumakiBench.Hazumaki\.dll'); do
    grep -qz "^WINEPREFIX=$WINEPREFIX\$" "/proc/$pid/environ" 2>/dev/null && echo "$pid"
  done | head -n 1
}

# The host's hidden session window exists when it starts the renderer; a
# stand-in keeps Wine's desktop up the same way. Without it every start also
# pays for starting the desktop process.
"$HZ_WINE" "$build/bin/hzprobe.exe" parent 1 1 600000 >/dev/null 2>&1 &
stand_in=$!
trap 'kill "$stand_in" 2>/dev/null' EXIT
probe wait-window "HzProbe Parent" 15000 >/dev/null

times=()
peak=
for i in $(seq 1 "$runs"); do
  out="$build/e2e/bench.ms"
  # Into a file: the renderer inherits the output and would hold a pipe open.
  timeout -k 2 60 "$HZ_WINE" "$build/bin/hzprobe.exe" start 'C:\HazumakiBench\Hazumaki.dll' Tovira_VC 15000 >"$out" 2>/dev/null
  ms=$(tr -d '\r' <"$out")
  [ -n "$ms" ] && times+=("$ms")
  if [ "$i" -eq 1 ]; then
    sleep 3
    pid=$(renderer_pid)
    [ -n "$pid" ] && peak=$(awk '/VmHWM/ {printf "%.1f MB", $2 / 1024}' "/proc/$pid/status")
  fi
  # Let it end by itself, so its shutdown does not overlap the next start.
  probe post Tovira_VC 0x0010 0 0 >/dev/null
  pid=$(renderer_pid)
  for _ in $(seq 1 300); do [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
done

if [ ${#times[@]} -eq 0 ]; then
  echo "the window never appeared" >&2
  exit 1
fi
printf '%s\n' "${times[@]}" | sort -n | awk -v runs="$runs" '
  { t[NR] = $1 }
  END { printf "renderer window after the start (%d of %d runs): min %.1f ms, median %.1f ms, max %.1f ms\n",
               NR, runs, t[1], t[int((NR + 1) / 2)], t[NR] }'
echo "renderer peak memory with its textures: ${peak:-unknown}"
echo "machine load: $(cut -d' ' -f1-3 /proc/loadavg)"
