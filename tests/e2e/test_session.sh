#!/usr/bin/env bash
# A whole screensaver run as Windows starts it: files handed over, renderer started and watched, music
# played and stopped, the end on every road.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

hz_install Saver && mkdir -p "$HZ_C/k_arden" && f="$HZ_C/k_arden/Tovira0"
for i in 1 2 3; do head -c 300000 /dev/zero >"$f$i.bmp"; done
hz_check "the renderer's window appears" hz_session /s
hz_check "stale Tovira01/02/03.bmp replaced by 24-bit bitmaps of 58, 196662 and 196662 bytes" eval \
  '[ "$(stat -c %s "${f}1.bmp" "${f}2.bmp" "${f}3.bmp" | xargs)" = "58 196662 196662" ] &&
   [ "$(head -c 2 "${f}2.bmp")" = BM ] && (($(od -An -tu4 -j10 -N4 "${f}2.bmp") == 54)) &&
   (($(od -An -tu2 -j28 -N2 "${f}2.bmp") == 24))'
hz_post Tovira_VC close
hz_check "closing the renderer's window ends the host within about a second" hz_wait_exit "$HOST" 5
hz_check "no renderer is left" test -z "$(hz_running 'Hazumaki\.dll')"

for request in close "0x0016 1"; do  # and WM_ENDSESSION, the end of the user's session (log-off, shutdown)
  hz_install Close --stand-in && hz_session /s && hz_post Tovira_Main $request
  hz_check "Tovira_Main on $request: the host ends, the renderer runs on" \
    eval 'hz_wait_exit "$HOST" 5 && sleep 1 && hz_probe exists Tovira_VC'
done

hz_install Late --stand-in && hz_ini 1 3 ''
hz_check "a renderer that opens its window after 2 s, with an audio CD chosen but no drive: a full session" \
  eval 'HZ_STANDIN_DELAY_MS=2000 hz_session /s && hz_full_session 3'

hz_install Never --stand-in && HZ_STANDIN_DELAY_MS=-1 hz_start "$HZ_DIR/Hazumaki.scr" /s
# Well before the 10 s the host gives a window that never comes: it saw the process end.
hz_check "a renderer that ends without a window ends the session" hz_wait_exit "$HZ_PID" 7

# Whether the cursor is hidden is not visible from another process under Wine, which keeps the display
# count per thread.
hz_install "Program Files/Hazumaki Saver" --stand-in && rm -f "$HZ_C/standin.log"
cp "$HZ_BIN/hzprobe.exe" "$HZ_C/Program.exe"  # what an unquoted command line would start
hz_check "an empty command line runs the session, which ends with the renderer" \
  eval 'HZ_STANDIN_LOG="$HZ_C/standin.log" hz_session && hz_full_session 0'
started=$(tr -d '\r' <"$HZ_C/standin.log") && hz_note "started: $started"
path='C:\Program Files\Hazumaki Saver\Hazumaki.dll'
hz_check "in a folder with blanks only Hazumaki.dll was started, its path (quoted or not) its command line" \
  test "$started" = "$path|$path" -o "$started" = "$path|\"$path\""
rm -f "$HZ_C/Program.exe"

# A 1 s tone, then 1.5 s of silence: a second burst proves the loop.
music_session() {  # EXT
  local rec="$HZ_E2E_STATE/session-$1.wav" total bursts
  hz_music_install "Music$1" "$1" 1 1.5 --stand-in && hz_record_start "$rec" && sleep 0.5 || return 1
  hz_session /s && hz_full_session 7 && sleep 2 || return 1
  hz_record_stop && total=$(soxi -D "$rec") || return 1
  bursts=$(hz_onsets "$rec" "$total" | wc -l)
  hz_note "$1: $bursts bursts of the tone in $total s"
  [ "$bursts" -ge 2 ] && hz_silent "$rec" 1.5
}
hz_check "a WAV file chosen in the settings plays, loops and stops with the session" music_session wav
hz_check "an MP3 file chosen in the settings plays, loops and stops with the session" music_session mp3
