#!/usr/bin/env bash
# A whole screensaver run as Windows starts it: files handed over, renderer
# started and watched, music played and stopped, the end on every road.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

scr() { echo "$HZ_DIR/Hazumaki.scr"; }
standin() {  # replaces the renderer by the stand-in
  cp "$HZ_BIN/standin.exe" "$HZ_DIR/Hazumaki.dll"
}
size_of() { stat -c %s "$1" 2>/dev/null || echo missing; }
renderer_ids() { hz_running 'Hazumaki\.dll'; }

# --- the hand-over files, written afresh at every start
hz_install Saver
mkdir -p "$HZ_C/k_arden"
for f in Tovira01 Tovira02 Tovira03; do head -c 300000 /dev/zero >"$HZ_C/k_arden/$f.bmp"; done
hz_start "$(scr)" /s
host=$HZ_PID
hz_check "the renderer's window appears" hz_probe wait-window Tovira_VC 20000
files_ok() {
  [ "$(size_of "$HZ_C/k_arden/Tovira01.bmp")" = 58 ] &&
    [ "$(size_of "$HZ_C/k_arden/Tovira02.bmp")" = 196662 ] &&
    [ "$(size_of "$HZ_C/k_arden/Tovira03.bmp")" = 196662 ]
}
hz_check "Tovira01/02/03.bmp replaced, 58, 196662 and 196662 bytes" files_ok
hz_check "the files are 24-bit bitmaps with a 54-byte header" \
  sh -c "head -c 2 '$HZ_C/k_arden/Tovira02.bmp' | grep -q BM && [ \"\$(od -An -tu2 -j28 -N2 '$HZ_C/k_arden/Tovira02.bmp' | tr -d ' ')\" = 24 ]"

# --- closing the renderer's window ends the host soon after
closing_renderer_ends_host() {
  hz_probe post Tovira_VC 0x0010 0 0 || return 1
  local t0=$SECONDS
  hz_wait_exit "$host" 5 || return 1
  hz_note "host ended $((SECONDS - t0)) s after the renderer's close request"
}
hz_check "closing the renderer's window ends the host within about a second" closing_renderer_ends_host
hz_check "no renderer is left" test -z "$(renderer_ids)"

# --- a close request to the session leaves the renderer running
hz_install Close
standin
hz_start "$(scr)" /s
host=$HZ_PID
hz_probe wait-window Tovira_VC 20000 >/dev/null
close_session_keeps_renderer() {
  hz_probe post Tovira_Main 0x0010 0 0 || return 1
  hz_wait_exit "$host" 5 || return 1
  sleep 1
  hz_probe exists Tovira_VC
}
hz_check "a close request to Tovira_Main ends the host and leaves the renderer running" close_session_keeps_renderer
hz_end_everything

# --- the end of the user's Windows session (log-off, shutdown) ends the host too
hz_install LogOff
standin
hz_start "$(scr)" /s
host=$HZ_PID
hz_probe wait-window Tovira_VC 20000 >/dev/null
log_off_ends_host() {
  hz_probe post Tovira_Main 0x0016 1 0 || return 1  # WM_ENDSESSION, the session is ending
  hz_wait_exit "$host" 5
}
hz_check "the end of the user's Windows session ends the host" log_off_ends_host
hz_end_everything

# --- a renderer that is slow to open its window still gets a full session
hz_install Late
standin
export HZ_STANDIN_DELAY_MS=2000
hz_start "$(scr)" /s
host=$HZ_PID
late_renderer_keeps_session() {
  hz_probe wait-window Tovira_VC 20000 >/dev/null || return 1
  sleep 3
  kill -0 "$host" 2>/dev/null || { echo "    the host ended before the window appeared"; return 1; }
  hz_probe post Tovira_VC 0x0010 0 0
  hz_wait_exit "$host" 5
}
hz_check "a renderer that opens its window after 2 s still gets a full session" late_renderer_keeps_session
unset HZ_STANDIN_DELAY_MS
hz_end_everything

# --- a renderer that never shows a window: the host gives up after 10 s
hz_install Never
cp "$HZ_BIN/hzprobe.exe" "$HZ_DIR/Hazumaki.dll"  # runs, prints its usage and ends at once
hz_start "$(scr)" /s
host=$HZ_PID
hz_check "a renderer that ends without a window ends the session" hz_wait_exit "$host" 15

# --- a program folder with blanks: the renderer is the program, nothing else starts
hz_install "Program Files/Hazumaki Saver"
standin
export HZ_STANDIN_LOG="$HZ_C/standin.log"
rm -f "$HZ_STANDIN_LOG"
cp "$HZ_BIN/standin.exe" "$HZ_C/Program.exe"  # what an unquoted command line would start
hz_start "$(scr)" /s
host=$HZ_PID
hz_check "a folder with blanks starts the renderer" hz_probe wait-window Tovira_VC 20000
started_right() {
  local lines
  lines=$(tr -d '\r' <"$HZ_STANDIN_LOG" 2>/dev/null)
  [ "$(printf '%s\n' "$lines" | grep -c .)" = 1 ] || { echo "    started: $lines"; return 1; }
  case "$lines" in *"Hazumaki Saver\\Hazumaki.dll"*) return 0 ;; esac
  echo "    command line: $lines"
  return 1
}
hz_check "only Hazumaki.dll was started, with its own path as the command line" started_right
unset HZ_STANDIN_LOG
rm -f "$HZ_C/Program.exe"
hz_end_everything

# --- an empty command line runs the same session as /s. (Whether the cursor is
#     hidden is not visible from another process under Wine, which keeps the
#     display count per thread; the unit tests of the session cover it.)
hz_install Empty
standin
hz_start "$(scr)"
host=$HZ_PID
hz_check "an empty command line runs the session" hz_probe wait-window Tovira_VC 20000
hz_probe post Tovira_VC 0x0010 0 0
hz_check "and ends with the renderer" hz_wait_exit "$host" 5
hz_end_everything

# --- kind 1 with no drive: a normal session
hz_install NoDrive
standin
printf '[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\nBGM\xD8\xCB\xDF\xB0\xC4= 3\r\nBGM\xCC\xA7\xB2\xD9=\r\n' >"$HZ_DIR/Hazumaki.ini"
hz_start "$(scr)" /s
host=$HZ_PID
cd_session() {
  hz_probe wait-window Tovira_VC 20000 >/dev/null || return 1
  sleep 2
  kill -0 "$host" 2>/dev/null || return 1
  hz_probe post Tovira_VC 0x0010 0 0
  hz_wait_exit "$host" 5
}
hz_check "audio CD chosen but no drive: the session runs and ends normally" cd_session
hz_end_everything

# --- music chosen in the settings plays through the session, loops, and stops with it
#     (a 1 s tone, then 1.5 s of silence; a second tone proves the loop)
sound_level() {  # FILE FROM LENGTH: RMS amplitude of that stretch
  sox "$1" -n trim "$2" "$3" stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
loud() { awk -v x="${1:-0}" 'BEGIN { exit !(x > 0.05) }'; }
quiet() { awk -v x="${1:-1}" 'BEGIN { exit !(x < 0.005) }'; }

music_session() {  # EXT
  local ext=$1 dir="$HZ_C/Music Files" rec="$HZ_E2E_STATE/session-$1.wav"
  hz_install "Music$ext"
  standin
  mkdir -p "$dir"
  sox -n -r 44100 -c 2 "$dir/tone 1.$ext" synth 1 sine 440 vol 0.5 pad 0 1.5 >/dev/null 2>&1 || return 1
  printf '[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xD8\xCB\xDF\xB0\xC4= 0\r\nBGM\xCC\xA7\xB2\xD9=C:\\Music Files\\tone 1.%s\r\n' \
    "$ext" >"$HZ_DIR/Hazumaki.ini"
  hz_record_start "$rec"
  sleep 0.5
  hz_start "$(scr)" /s
  local host=$HZ_PID
  hz_probe wait-window Tovira_VC 20000 >/dev/null || return 1
  sleep 7
  hz_probe post Tovira_VC 0x0010 0 0
  hz_wait_exit "$host" 5 || return 1
  sleep 2
  hz_record_stop
  # The recording: sound, then (after the first pass) sound again, then silence after the end.
  local total passes=0 was=0 t level
  total=$(soxi -D "$rec" 2>/dev/null) || return 1
  for t in $(seq 0 0.25 "$(awk -v d="$total" 'BEGIN {print d - 0.25}')"); do
    level=$(sound_level "$rec" "$t" 0.25)
    if loud "$level"; then [ "$was" = 0 ] && passes=$((passes + 1)); was=1; else was=0; fi
  done
  local tail_level
  tail_level=$(sound_level "$rec" "$(awk -v d="$total" 'BEGIN {print d - 1.5}')" 1.5)
  hz_note "$ext: $passes passes of the tone heard in $total s; level after the end $tail_level"
  [ "$passes" -ge 2 ] && quiet "$tail_level"
}
hz_check "a WAV file chosen in the settings plays, loops and stops with the session" music_session wav
hz_check "an MP3 file chosen in the settings plays, loops and stops with the session" music_session mp3
