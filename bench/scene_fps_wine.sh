#!/usr/bin/env bash
# The frame-rate benchmark of the Windows build (a hidden window's WGL
# context), run under Wine on a private Xvfb with a fresh prefix:
#
#   cmake --build build/windows --target scene_fps_bench
#   bash bench/scene_fps_wine.sh [ROUNDS] [FRAMES_PER_ROUND]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HZ_BUILD:-$root/build/windows}
# shellcheck disable=SC1091
source "$root/tools/wine/env.sh"
state=$(mktemp -d)
cleanup() {
  WINEPREFIX="$state/pfx" "$HZ_WINESERVER" -k 2>/dev/null || true
  hz_stop_pidfile "$state/xvfb.pid" 2>/dev/null || true
  rm -rf "$state"
}
trap cleanup EXIT
hz_start_xvfb "$state"
export WINEPREFIX="$state/pfx"
env -u DISPLAY "$HZ_WINE" wineboot -i >/dev/null 2>&1
"$HZ_WINESERVER" -w  # a desktop started without the display would stay without it
cp "$root"/host/res/Tovira0{1,2,3}.bmp "$state/"
"$HZ_WINE" "$build/bin/scene_fps_bench.exe" "Z:$(echo "$state" | tr / '\\')" "${1:-7}" "${2:-40}" 2>&1 | grep -v "^ALSA" | tr -d '\r'
