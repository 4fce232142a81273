#!/usr/bin/env bash
# What the platform and other people's processes do to a running saver: the
# renderer or the host killed, the working folder blocked, files held open by
# another process, a second renderer, a folder of damaged pictures. Nothing
# may crash, hang, or leave sound playing or a window behind.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

renderer_ids() { hz_running 'Hazumaki\.dll'; }
no_renderer() { local ids; ids=$(renderer_ids); [ -z "$ids" ] || { echo "    still running: $ids"; return 1; }; }
# Every box the session may show is captioned "Error" (the bitmap reader) or
# "Hazumaki" (the host's own refusals); in these scenes none is expected.
no_box() { local d; d=$(hz_probe dialogs); [ -z "$d" ] || { echo "    boxes: $d"; return 1; }; }
ms_since() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

hold() {  # MS WINPATH...: holds the files without sharing in the background until MS have passed
  local out="$HZ_E2E_STATE/hold.$$" i
  : >"$out"
  "$HZ_WINE" "$HZ_BIN/holdfile.exe" "$@" >"$out" 2>&1 &
  HZ_PIDS+=("$!")
  for i in $(seq 1 200); do
    grep -q held "$out" && return 0
    sleep 0.05
  done
  cat "$out"
  return 1
}

sound_level() {  # FILE FROM LENGTH: RMS amplitude of that stretch
  sox "$1" -n trim "$2" "$3" stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
loud() { awk -v x="${1:-0}" 'BEGIN { exit !(x > 0.05) }'; }
quiet() { awk -v x="${1:-1}" 'BEGIN { exit !(x < 0.005) }'; }

# A session that plays a WAV file through the real renderer.
music_session() {  # FOLDER
  hz_install "$1"
  mkdir -p "$HZ_C/Music"
  [ -f "$HZ_C/Music/tone.wav" ] ||
    sox -n -r 44100 -c 2 "$HZ_C/Music/tone.wav" synth 3 sine 440 vol 0.5 >/dev/null 2>&1
  printf '[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xD8\xCB\xDF\xB0\xC4= 0\r\nBGM\xCC\xA7\xB2\xD9=C:\\Music\\tone.wav\r\n' \
    >"$HZ_DIR/Hazumaki.ini"
  hz_start "$HZ_DIR/Hazumaki.scr" /s
  HOST=$HZ_PID
  hz_probe wait-window Tovira_VC 20000 >/dev/null
}

# --- the renderer killed while the music plays: the host ends, the sound stops
renderer_killed() {
  local rec="$HZ_E2E_STATE/faults-killed.wav" ids t0
  hz_record_start "$rec"
  sleep 0.5
  music_session KilledRenderer || return 1
  sleep 3
  ids=$(renderer_ids)
  [ -n "$ids" ] || { echo "    no renderer"; return 1; }
  t0=$(date +%s%N)
  kill -9 $ids
  hz_wait_exit "$HOST" 5 || { echo "    the host is still running"; return 1; }
  hz_note "host ended $(ms_since "$t0") ms after the renderer was killed"
  sleep 2
  hz_record_stop
  local total before after
  total=$(soxi -D "$rec" 2>/dev/null) || return 1
  before=$(sound_level "$rec" "$(awk -v d="$total" 'BEGIN {print d - 4}')" 1)
  after=$(sound_level "$rec" "$(awk -v d="$total" 'BEGIN {print d - 1.5}')" 1.5)
  hz_note "level while playing $before, after the end $after"
  loud "$before" && quiet "$after"
}
hz_check "renderer killed mid-session: the host ends within 5 s and the music stops" renderer_killed
hz_check "nothing of the session is left" no_renderer
hz_end_everything

# --- the host killed: the renderer runs on and still ends on Escape
host_killed() {
  music_session KilledHost || return 1
  sleep 2
  kill -9 "$HOST"
  hz_wait_exit "$HOST" 5 || return 1
  sleep 1
  hz_probe exists Tovira_VC || { echo "    the renderer went with the host"; return 1; }
  hz_probe post Tovira_VC 0x0100 0x1B 0 >/dev/null
  hz_probe wait-gone Tovira_VC 15000 >/dev/null || { echo "    Escape did not end it"; return 1; }
  local i
  for i in $(seq 1 50); do [ -z "$(renderer_ids)" ] && return 0; sleep 0.1; done
  no_renderer
}
hz_check "host killed: the renderer runs on and ends on Escape" host_killed
hz_end_everything

# A session with the real renderer that must run several seconds without a box and end on close.
plain_session() {  # FOLDER
  hz_install "$1"
  hz_start "$HZ_DIR/Hazumaki.scr" /s
  HOST=$HZ_PID
  hz_probe wait-window Tovira_VC 20000 >/dev/null || { echo "    no renderer window"; return 1; }
  sleep 3
  kill -0 "$HOST" 2>/dev/null || { echo "    the host ended"; return 1; }
  hz_probe exists Tovira_VC || { echo "    the renderer ended"; return 1; }
  no_box || return 1
  hz_screenshot "faults_$1" >/dev/null
  hz_probe post Tovira_VC 0x0010 0 0 >/dev/null
  hz_wait_exit "$HOST" 10 || { echo "    the host did not end"; return 1; }
}

# --- C:\k_arden cannot be made: a plain file is in its place
hz_reset_working_folder
echo "not a folder" >"$HZ_C/k_arden"
hz_check "a file named k_arden in the way: the session runs without a box and ends" plain_session Blocked
hz_check "the file in the way is left alone" grep -q "not a folder" "$HZ_C/k_arden"
hz_end_everything
hz_reset_working_folder

# --- pictures held open without sharing by another process
mkdir -p "$HZ_C/k_arden"
held_pictures() {
  hold 60000 'C:\k_arden\Tovira01.bmp' 'C:\k_arden\Tovira02.bmp' || return 1
  plain_session Held
}
hz_check "Tovira01/02.bmp held open without sharing: the session runs without a box and ends" held_pictures
hz_check "the unheld picture was still written" test "$(stat -c %s "$HZ_C/k_arden/Tovira03.bmp" 2>/dev/null)" = 196662
hz_end_everything
hz_reset_working_folder

# --- a second renderer started by hand during a session
second_renderer() {
  hz_install Second
  hz_start "$HZ_DIR/Hazumaki.scr" /s
  HOST=$HZ_PID
  hz_probe wait-window Tovira_VC 20000 >/dev/null || return 1
  hz_start "$HZ_DIR/Hazumaki.dll"
  local second=$HZ_PID n i
  sleep 4
  n=$(renderer_ids | wc -l)
  hz_note "$n renderers running"
  [ "$n" = 2 ] || return 1
  no_box || return 1
  # Each close request reaches one of the two windows of that title.
  for i in 1 2 3 4 5 6; do
    hz_probe post Tovira_VC 0x0010 0 0 >/dev/null || break
    sleep 1
  done
  hz_wait_exit "$second" 10 || { echo "    the second renderer is still running"; return 1; }
  hz_wait_exit "$HOST" 10 || { echo "    the host is still running"; return 1; }
  no_renderer
}
hz_check "a second renderer during a session: both run, both end, the host ends" second_renderer
hz_end_everything
hz_reset_working_folder

# --- the settings file held open without sharing while the dialog saves
held_settings() {
  hz_install HeldSettings --no-renderer
  cp "$HZ_BIN/hzprobe.exe" "$HZ_DIR/Hazumaki.dll"  # start-up only checks that it is there
  local ini="$HZ_DIR/Hazumaki.ini" title="<Hazumaki>"
  printf '[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\nBGM\xD8\xCB\xDF\xB0\xC4= 3\r\nBGM\xCC\xA7\xB2\xD9=C:\\Music\\a.wav\r\n' >"$ini"
  cp "$ini" "$HZ_E2E_STATE/faults-ini.before"
  hz_start "$HZ_DIR/Hazumaki.scr" /c
  local dialog=$HZ_PID
  hz_probe wait-visible "$title" 20000 >/dev/null || { echo "    no dialog"; return 1; }
  sleep 0.5
  hold 30000 "$HZ_WINDIR\\Hazumaki.ini" || return 1
  hz_probe mouse "$title" 66 100 rclick >/dev/null  # なし: a change to save
  sleep 0.5
  hz_probe mouse "$title" 362 212 lclick >/dev/null  # 設定
  hz_wait_exit "$dialog" 20 || { echo "    the dialog is still open"; hz_probe dialogs; return 1; }
  cmp -s "$ini" "$HZ_E2E_STATE/faults-ini.before" || { echo "    the file changed"; od -c "$ini" | head; return 1; }
}
hz_check "settings file held while the dialog saves: the dialog closes, the file is intact" held_settings
hz_end_everything

# --- a texture folder full of damaged files, the renderer on its own
bmp_header() {  # WIDTH HEIGHT BITS: a 54-byte header with no pixels behind it
  python3 -c 'import struct,sys; w,h,b=map(int,sys.argv[1:]); sys.stdout.buffer.write(struct.pack("<2sIHHIIiiHHIIiiII", b"BM", 54, 0, 0, 54, 40, w, h, 1, b, 0, 0, 0, 0, 0, 0))' "$@"
}
damaged_round() {  # WRITER: fills C:\k_arden, then the renderer runs on
  hz_reset_working_folder
  mkdir -p "$HZ_C/k_arden"
  "$1"
  hz_start "$HZ_DIR/Hazumaki.dll"
  local renderer=$HZ_PID text
  hz_probe wait-window Tovira_VC 15000 >/dev/null || return 1
  # Only the fade picture goes through the reader that reports; answer its box.
  text=$(hz_probe msgbox Error 8000 ok) && hz_note "box: $text"
  case "$text" in ""|"Unknown DIB file format."|"Image file conversion error."|"Out of memory."|"Failed to open DIB file "*) ;;
    *) echo "    unexpected message: $text"; return 1 ;; esac
  sleep 2
  kill -0 "$renderer" 2>/dev/null && hz_probe exists Tovira_VC || { echo "    the renderer ended"; return 1; }
  no_box || return 1
  hz_probe post Tovira_VC 0x0100 0x1B 0 >/dev/null
  hz_wait_exit "$renderer" 15
}
damaged_a() {
  bmp_header 65535 65535 24 >"$HZ_C/k_arden/Tovira01.bmp"          # huge, no pixels
  head -c 5000 "$HZ_SOURCE_DIR/host/res/Tovira02.bmp" >"$HZ_C/k_arden/Tovira02.bmp"  # truncated
  : >"$HZ_C/k_arden/Tovira03.bmp"                                    # zero length
}
damaged_b() {
  head -c 4096 /dev/urandom >"$HZ_C/k_arden/Tovira01.bmp"            # not a bitmap
  { bmp_header 256 256 8; head -c 66560 /dev/zero; } >"$HZ_C/k_arden/Tovira02.bmp"  # wrong depth
  { bmp_header 1024 1024 24; head -c 3000 /dev/zero; } >"$HZ_C/k_arden/Tovira03.bmp"  # huge, truncated
}
damaged_c() {
  { bmp_header 2147483647 -2147483648 1; head -c 100 /dev/zero; } >"$HZ_C/k_arden/Tovira01.bmp"  # absurd sizes
  echo "hello" >"$HZ_C/k_arden/Tovira02.bmp"
  mkdir "$HZ_C/k_arden/Tovira03.bmp"                                  # a folder where a file belongs
}
hz_install Damaged
hz_check "huge, truncated and empty pictures: the renderer runs on" damaged_round damaged_a
hz_end_everything
hz_check "noise, wrong depth and huge truncated pictures: the renderer runs on" damaged_round damaged_b
hz_end_everything
hz_check "absurd sizes, text and a folder: the renderer runs on" damaged_round damaged_c
hz_end_everything
hz_reset_working_folder
