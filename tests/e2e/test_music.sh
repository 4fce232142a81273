#!/usr/bin/env bash
# Background music through the real platform, recorded from the sound
# server's null sink: WAV and MP3 files play, loop and fall silent when
# stopped; bad files are refused quietly; without a CD drive the CD poll ends
# after one tick.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

music="$HZ_C/Music dir"
winmusic='C:\Music dir'
recs="$HZ_E2E_STATE/music"
rm -rf "$music" "$recs"
mkdir -p "$music" "$recs"

# One pass of the file is a 1.5 s tone and 2.5 s of silence, so every pass is one burst of sound.
sox -n -r 44100 -c 2 -b 16 "$music/loop tone.wav" synth 1.5 sine 440 gain -6 pad 0 2.5
sox "$music/loop tone.wav" -C 128 "$music/loop tone.mp3"
# A long tone, to be stopped in its middle: a close that failed would leave it sounding.
sox -n -r 44100 -c 2 -C 128 "$music/long tone.mp3" synth 8 sine 440 gain -6
echo "this is text, not music" >"$music/text.wav"
cp "$music/text.wav" "$music/text.mp3"

# drive NAME ARGS...: runs musicdriver with ARGS while the sink is recorded into $recs/NAME.wav;
# its output and exit code go to $recs/NAME.out. Sets STOP_AT (seconds into the recording at
# which the driver said "stopped") and DIALOGS (dialog boxes on the screen after the stop).
drive() {
  local size t0 pid out="$recs/$1.out" rec="$recs/$1.wav"
  shift
  hz_record_start "$rec"
  # The recorder takes a moment to connect: once it has a tenth of a second, the time of its
  # first sample follows from the bytes written (the null sink's 44.1 kHz, 2 channels, 16 bits).
  hz_eventually eval '[ "$(stat -c %s "$rec" 2>/dev/null || echo 0)" -gt 17684 ]'
  size=$(stat -c %s "$rec")
  t0=$(hz_calc "$EPOCHREALTIME - ($size - 44) / 176400")
  { "$HZ_WINE" "$HZ_BIN/musicdriver.exe" "$@" 2>/dev/null; echo "exit $?"; } >"$out" &
  pid=$!
  HZ_PIDS+=("$pid")
  STOP_AT=
  for _ in $(seq 1 1200); do
    grep -q '^stopped' "$out" && STOP_AT=$(hz_calc "$EPOCHREALTIME - $t0") && break
    kill -0 "$pid" 2>/dev/null && sleep 0.05 || break
  done
  DIALOGS=$(hz_probe dialogs)
  hz_wait_exit "$pid" 60
  sleep 2  # the recorder's last moments reach the file late
  hz_record_stop
  sed -i 's/\r$//' "$out"
}

# NAME MIN_GAP MAX_GAP: before the stop, the file's first two passes start MIN_GAP to MAX_GAP
# seconds apart, the second one really sounds, and between them the file's own silence is heard.
plays_in_passes() {
  local rec="$recs/$1.wav" o
  mapfile -t o < <(hz_onsets "$rec" "$STOP_AT")
  hz_note "$1: bursts start at ${o[*]:-nothing} s into the recording, stop at $STOP_AT s"
  [ "${#o[@]}" -ge 2 ] && hz_gt "$(hz_calc "${o[1]} - ${o[0]}")" "$2" && hz_gt "$3" "$(hz_calc "${o[1]} - ${o[0]}")" &&
    hz_gt "$(hz_peak "$rec" "${o[1]}" 1.0)" 0.2 && hz_silent "$rec" "$(hz_calc "${o[0]} + 2")" 1.5
}

# NAME: nothing is heard for 5 s from half a second after the stop (the sound server's own
# latency), while the driver still lives. A stop that failed would be heard within one pass (4 s).
silent_after_stop() { [ -n "$STOP_AT" ] && hz_silent "$recs/$1.wav" "$(hz_calc "$STOP_AT + 0.5")" 5; }

said() { grep -qxF -- "$2" "$recs/$1.out" || { echo "    no line '$2' in $1.out"; return 1; }; }
never_said() { ! grep -q -- "$2" "$recs/$1.out" || { echo "    '$2' in $1.out"; return 1; }; }
# NAME: ended by itself with 0, no dialog box on the screen meanwhile
clean_run() { said "$1" done && said "$1" "exit 0" && { [ -z "$DIALOGS" ] || { echo "    boxes: $DIALOGS"; false; }; }; }

# --- a WAV file loops through the sound player and stops with WAV_Stop
drive wav wav "$winmusic\\loop tone.wav" 9 6
hz_check "WAV: the driver ran cleanly, found a wave device, and played looped, asynchronous, without a default sound" \
  eval 'clean_run wav && grep -q "^wave devices [1-9]" "$recs/wav.out" && said wav "sound $winmusic\\loop tone.wav 11 -> 1"'
# The file is 4 s long; a loaded machine may delay the sound server's next pass a little.
hz_check "WAV: the file plays, and plays again from its start about 4 s later" plays_in_passes wav 3.6 6.0
hz_check "WAV: silent after WAV_Stop" silent_after_stop wav

# --- an MP3 file (the path has spaces) is restarted by the 1000 ms check and stops with MP3_Close
drive mp3 mp3 "$winmusic\\loop tone.mp3" 12
hz_check "MP3: the driver ran cleanly, opened the quoted path, restarted the ended file and closed it" eval \
  'clean_run mp3 && said mp3 "mci open \"$winmusic\\loop tone.mp3\" type MPEGVideo Alias MP3Play -> 0" &&
   said mp3 "mci play MP3Play from 0 -> 0" && said mp3 "mci close MP3Play -> 0"'
# The file lasts 4.05 s; the next check comes within a second of its end.
hz_check "MP3: the file plays, and plays again from its start" plays_in_passes mp3 3.8 6.5

# The loop's stop falls into the file's silence; a long tone shows that the close silences it.
drive mp3stop mp3 "$winmusic\\long tone.mp3" 3 6
hz_check "MP3 closed while it sounds: the driver ran cleanly and the tone was heard" \
  eval 'clean_run mp3stop && hz_gt "$(hz_peak "$recs/mp3stop.wav" 0 "$STOP_AT")" 0.2'
hz_check "MP3 closed while it sounds: silent after MP3_Close" silent_after_stop mp3stop

# --- bad files: text under a music name, a file that has vanished
refused() {  # NAME KIND: no crash, no box, no sound while it should play nor after the stop; no MP3 played
  clean_run "$1" && hz_silent "$recs/$1.wav" 0 "$(hz_calc "${STOP_AT:-0} + 1.5")" &&
    never_said "$1" "mci play MP3Play -> 0"
}
for c in "textwav wav text.wav" "textmp3 mp3 text.mp3" "gonewav wav gone.wav" "gonemp3 mp3 gone.mp3"; do
  read -r name kind file <<<"$c"
  drive "$name" "$kind" "$winmusic\\$file" 3 2
  hz_check "$file: no crash, no message box, no sound" refused "$name"
done

# --- no CD drive: Wine has no cdaudio device (open fails with 266), which is the no-disc path
cd_given_up() {  # NAME: the failed query ended the poll after one tick; nothing played; not closed after it
  clean_run "$1" && said "$1" "polls 1 cd_ok 0" && grep -q '^mci status cdaudio current track -> [1-9]' "$recs/$1.out" &&
    never_said "$1" "^mci play" && never_said "$1" '^mci \(stop\|close\) cdaudio'
}
for repeat in 0 3; do
  drive "cd$repeat" cd 3 "$repeat"
  hz_check "CD, repeat $repeat: with no drive the poll ends after one tick, nothing plays or is closed" cd_given_up "cd$repeat"
done
