#!/usr/bin/env bash
# A screen at 150 % (144 dots per inch): the settings dialog lays itself out 1.5 times as large, and the
# renderer declares that it draws in physical pixels.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

# Everything below measures against this; without it there is nothing to measure.
dpi=$(hz_probe dpi)
hz_check "the world is at 144 dpi (LogPixels in the prefix; reads '$dpi')" [ "$dpi" = 144 ]
[ "$dpi" = 144 ] || exit 1

near() { awk -v a="$1" -v b="$2" -v d="$3" 'BEGIN { exit !((a - b) ^ 2 <= d * d) }'; }  # A B TOLERANCE
HZ_SCALE="3 / 2"
hz_install Scale
hz_check "the dialog opens for /c" hz_dialog 1 3 ''
read -r cw ch cx cy <<<"$(hz_probe client "$HZ_TITLE")"
hz_check "its client area is 744 x 365 (is ${cw:-?} x ${ch:-?})" eval 'near "$cw" 744 2 && near "$ch" 365 2'
IFS='|' read -r _ _ l t r b <<<"$(hz_probe at "$HZ_TITLE" $(hz_at set))"
hz_check "設定 is 1.5 times its 96-dpi place and size, 324,200 77x25 (is $((l - cx)),$((t - cy)) $((r - l))x$((b - t)))" \
  eval 'near $((l - cx)) 486 1 && near $((t - cy)) 300 1 && near $((r - l)) 115.5 1 && near $((b - t)) 37.5 1'
hz_check "the other controls lie at 1.5 times their 96-dpi places" \
  hz_looks cancel ｷｬﾝｾﾙ '*' cd 音楽CD '*' none なし '*' wav MP3、WAV '*' link http://hazumaki.example.com/ '*'
hz_note "screenshot: $(hz_screenshot dialog_144dpi)"
hz_post "$HZ_TITLE" 0x02E0 192 0x1234  # WM_DPICHANGED with a pointer from another process
hz_check "a density change posted from outside is ignored; ｷｬﾝｾﾙ then closes the dialog" \
  eval 'sleep 1 && hz_probe exists "$HZ_TITLE" && hz_mouse cancel && hz_dialog_ends'

# Wine reports every window per-monitor aware: the manifest, read by the system's activation-context
# functions, must say it (v2 and v1 read back alike). The host sets its awareness in code, for the settings.
hz_check "the renderer's manifest declares per-monitor awareness, the host's none" \
  eval '[ "$(hz_probe manifest "$HZ_WINDIR\\Hazumaki.dll")" = "true/pm|PerMonitorV2, PerMonitor" ] &&
        [ -z "$(hz_probe manifest "$HZ_WINDIR\\Hazumaki.scr")" ]'
hz_check "the renderer's window reports per-monitor awareness" eval 'hz_session && [ "$(hz_probe awareness Tovira_VC)" = 2 ]'
