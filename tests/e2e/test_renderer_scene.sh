#!/usr/bin/env bash
# The renderer on its own with the host's pictures in C:\k_arden: the tunnel
# fades in and moves. Screenshots land in build/screenshots.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

hz_install RendererScene
mkdir -p "$HZ_C/k_arden"
cp "$HZ_SOURCE_DIR"/host/res/Tovira0{1,2,3}.bmp "$HZ_C/k_arden/"
frame_log="$HZ_C/k_arden/frames.txt"
# The renderer's measuring hook: the first frame creates the file, then a line a second.
export HAZUMAKI_FRAME_LOG='C:\k_arden\frames.txt'

now_ms() { echo $(($(date +%s%N) / 1000000)); }
sleep_until() {
  local wait_ms=$(($1 - $(now_ms)))
  [ "$wait_ms" -gt 0 ] && sleep "$(awk -v ms="$wait_ms" 'BEGIN { printf "%.3f", ms / 1000 }')"
  return 0
}

started=$(now_ms)
hz_start "$HZ_DIR/Hazumaki.dll"
renderer=$HZ_PID
hz_check "the renderer's window appears" hz_probe wait-window Tovira_VC 20000 >/dev/null

first_frame() {
  local i
  for i in $(seq 1 1500); do
    [ -s "$frame_log" ] && { hz_note "first frame $(($(now_ms) - started)) ms after the start (within 10 ms)"; return 0; }
    sleep 0.01
  done
  return 1
}
hz_check "the renderer draws frames" first_frame

# Share of a screenshot's pixels that are blue or white (blue at least as
# strong as red and green, and not dark), and its mean brightness.
blue_white_share() { convert "$1" -scale 128x96! -fx '(b >= r - 0.03 && b >= g - 0.03 && (r + g + b) / 3 > 0.3) ? 1 : 0' -format '%[fx:mean]' info:; }
brightness() { convert "$1" -format '%[fx:mean]' info:; }
is_more() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 0 > b + 0) }'; }

# Stale pictures from an earlier run must not pass for new ones.
rm -f "$HZ_SHOTS"/renderer_scene_1[12]s.png
sleep_until $((started + 11000))
shot1=$(hz_screenshot renderer_scene_11s)
sleep_until $((started + 12000))
shot2=$(hz_screenshot renderer_scene_12s)
hz_check "both screenshots were taken" test -s "$shot1" -a -s "$shot2"
level=$(brightness "$shot1")
share=$(blue_white_share "$shot1")
hz_note "11 s after the start: mean level $level, blue or white share $share"
hz_check "11 s after the start the tunnel shows (not black)" is_more "$level" 0.2
hz_check "blue and white dominate the picture" is_more "$share" 0.6
changed=$(compare -metric AE -fuzz 2% "$shot1" "$shot2" null: 2>&1 | cut -d' ' -f1)
hz_note "pixels changed from 11 s to 12 s: $changed of 786432"
hz_check "a second later the picture has changed" is_more "${changed:-0}" 78643

fps() {  # frames per second over the log's last two reports
  tail -n 2 "$frame_log" | tr -d '\r' | awk 'NR == 1 { t = $1; f = $2 } NR == 2 && $1 > t { printf "%.1f", ($2 - f) * 1000 / ($1 - t) }'
}
hz_note "frames per second under Wine at 1024 x 768: $(fps)"

hz_probe post Tovira_VC 0x0010 0 0 >/dev/null  # WM_CLOSE
hz_check "a close request ends the renderer" hz_wait_exit "$renderer" 15
