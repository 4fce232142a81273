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
shot_at() {  # MS NAME: a screenshot MS after the start; stale ones must not pass for new ones
  rm -f "$HZ_SHOTS/$2.png"
  sleep "$(hz_calc "($1 + $started - $(now_ms)) / 1000")" 2>/dev/null
  hz_screenshot "$2"
}

started=$(now_ms)
hz_start "$HZ_DIR/Hazumaki.dll"
renderer=$HZ_PID
hz_check "the renderer's window appears" hz_probe wait-window Tovira_VC 20000
hz_check "the renderer draws frames" hz_eventually test -s "$frame_log"
hz_note "first frame within $(($(now_ms) - started)) ms of the start"

shot1=$(shot_at 11000 renderer_scene_11s)
shot2=$(shot_at 12000 renderer_scene_12s)
hz_check "both screenshots were taken" test -s "$shot1" -a -s "$shot2"
level=$(convert "$shot1" -format '%[fx:mean]' info:)
# Blue at least as strong as red and green, and not dark.
share=$(convert "$shot1" -scale 128x96! -fx '(b >= r - 0.03 && b >= g - 0.03 && (r + g + b) / 3 > 0.3) ? 1 : 0' \
  -format '%[fx:mean]' info:)
hz_note "11 s after the start: mean level $level, blue or white share $share"
hz_check "11 s after the start the tunnel shows (not black)" hz_gt "$level" 0.2
hz_check "blue and white dominate the picture" hz_gt "$share" 0.6
changed=$(compare -metric AE -fuzz 2% "$shot1" "$shot2" null: 2>&1 | cut -d' ' -f1)
hz_note "pixels changed from 11 s to 12 s: $changed of 786432"
hz_check "a second later the picture has changed" hz_gt "$changed" 78643

hz_note "frames per second under Wine at 1024 x 768: $(tail -n 2 "$frame_log" | tr -d '\r' |
  awk 'NR == 1 { t = $1; f = $2 } NR == 2 && $1 > t { printf "%.1f", ($2 - f) * 1000 / ($1 - t) }')"
hz_post Tovira_VC close
hz_check "a close request ends the renderer" hz_wait_exit "$renderer" 15
