#!/usr/bin/env bash
# Sets up what is missing, builds the Windows programs and runs the
# screensaver as Windows does ("Hazumaki.scr /s") under Wine.
#
# With a display (DISPLAY set), it runs on it until you press Escape.
# Without one, it starts a virtual display, lets the screensaver run for
# HAZUMAKI_RUN_SECONDS (default 12), saves a screenshot under build/, ends
# the run and prints where the screenshot is.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

source tools/wine/env.sh
state="$root/build/run"
mkdir -p "$state"
export WINEPREFIX="$state/pfx"
if [ ! -d "$WINEPREFIX" ]; then
  hz_make_template "$root/build/wine-template" "$root"
  hz_prefix_from_template "$root/build/wine-template" "$WINEPREFIX"
fi
folder="$WINEPREFIX/drive_c/Program Files/Hazumaki"
mkdir -p "$folder"
cp build/windows/bin/Hazumaki.scr "$folder/"
[ -f build/windows/bin/Hazumaki.dll ] && cp build/windows/bin/Hazumaki.dll "$folder/"

if [ -n "${DISPLAY:-}" ]; then
  echo "running Hazumaki.scr /s on $DISPLAY (press Escape to end)"
  "$HZ_WINE" "$folder/Hazumaki.scr" /s
  "$HZ_WINESERVER" -w
  exit 0
fi

cleanup() {
  "$HZ_WINESERVER" -k 2>/dev/null || true
  hz_stop_pidfile "$state/pulse.pid"
  hz_stop_pidfile "$state/xvfb.pid"
}
trap cleanup EXIT
hz_start_xvfb "$state"
hz_start_pulse "$state" || echo "(no sound server: the run is silent)"

seconds=${HAZUMAKI_RUN_SECONDS:-12}
echo "running Hazumaki.scr /s on a virtual display ($DISPLAY) for $seconds s"
"$HZ_WINE" "$folder/Hazumaki.scr" /s >"$state/run.log" 2>&1 &
host=$!
sleep "$seconds"
shot="$root/build/screenshot.png"
import -window root "$shot"
# End the run as a user would: Escape to the renderer, or a close request to the host.
"$HZ_WINE" build/windows/bin/hzprobe.exe post Tovira_VC 0x0100 0x1B 0 >/dev/null 2>&1 ||
  "$HZ_WINE" build/windows/bin/hzprobe.exe post Tovira_Main 0x0010 0 0 >/dev/null 2>&1 || true
for _ in $(seq 1 100); do kill -0 "$host" 2>/dev/null || break; sleep 0.1; done
kill "$host" 2>/dev/null || true
echo "screenshot: $shot"
