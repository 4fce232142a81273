#!/usr/bin/env bash
# Background music on the real platform, recorded from the sound server's null sink: WAV and MP3 files play,
# loop and fall silent when stopped; bad files are refused quietly; with no CD drive the poll ends at once.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

music="$HZ_C/Music dir" winmusic='C:\Music dir' recs="$HZ_E2E_STATE/music"
rm -rf "$music" "$recs" && mkdir -p "$music" "$recs"
# One pass of the file is a 1.5 s tone and 2.5 s of silence, so every pass is one burst of sound; a long
# tone, to be stopped in its middle (a close that failed would leave it sounding); text under music names.
for ext in wav mp3; do hz_tone "$music/loop tone.$ext" 1.5 2.5; done
hz_tone "$music/long tone.mp3" 8 && echo "this is text, not music" | tee "$music/text.wav" >"$music/text.mp3"

# drive NAME ARGS...: hzprobe music ARGS, recorded into $recs/NAME.wav, its output and exit code into
# $recs/NAME.out; STOP_AT: seconds into the recording when it said "stopped"; DIALOGS: the boxes then.
drive() {
  local t0 pid out="$recs/$1.out" rec="$recs/$1.wav" && shift && hz_record_start "$rec"
  # Once a tenth of a second is in, its first sample's time follows from the bytes (44.1 kHz, 2 x 16 bits).
  hz_eventually eval '[ "$(stat -c %s "$rec" 2>/dev/null || echo 0)" -gt 17684 ]'
  t0=$(hz_calc "$EPOCHREALTIME - ($(stat -c %s "$rec") - 44) / 176400")
  { "$HZ_WINE" "$HZ_BIN/hzprobe.exe" music "$@" 2>/dev/null; echo "exit $?"; } >"$out" &
  pid=$! && HZ_PIDS+=("$pid") && STOP_AT=
  for _ in $(seq 1 1200); do
    grep -q '^stopped' "$out" && STOP_AT=$(hz_calc "$EPOCHREALTIME - $t0") && break
    kill -0 "$pid" 2>/dev/null && sleep 0.05 || break
  done
  DIALOGS=$(hz_probe dialogs)
  hz_wait_exit "$pid" 60; sleep 2  # the recorder's last moments reach the file late
  hz_record_stop; sed -i 's/\r$//' "$out"
}

said() { local l; for l in "${@:2}"; do grep -qxF -- "$l" "$recs/$1.out" || { echo "    no '$l' in $1.out"; return 1; }; done; }
never_said() { ! grep -q -- "$2" "$recs/$1.out" || { echo "    '$2' in $1.out"; return 1; }; }
# NAME LINE...: the driver ended by itself with 0 and printed each LINE; no dialog box was on the screen
clean_run() { said "$1" "done" "exit 0" "${@:2}" && { [ -z "$DIALOGS" ] || { echo "    boxes: $DIALOGS"; false; }; }; }
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

drive wav wav "$winmusic\\loop tone.wav" 9 6
hz_check "WAV: the driver ran cleanly, found a wave device, and played looped, asynchronous, without a default sound" \
  eval 'clean_run wav "sound $winmusic\\loop tone.wav 11 -> 1" && grep -q "^wave devices [1-9]" "$recs/wav.out"'
# The file is 4 s long; a loaded machine may delay the sound server's next pass a little.
hz_check "WAV: the file plays, and plays again from its start about 4 s later" plays_in_passes wav 3.6 6.0
hz_check "WAV: silent after WAV_Stop" silent_after_stop wav

drive mp3 mp3 "$winmusic\\loop tone.mp3" 12
hz_check "MP3: the driver ran cleanly, opened the quoted path, restarted the ended file and closed it" \
  clean_run mp3 "mci open \"$winmusic\\loop tone.mp3\" type MPEGVideo Alias MP3Play -> 0" \
  "mci play MP3Play from 0 -> 0" "mci close MP3Play -> 0"
# The file lasts 4.05 s; the next check comes within a second of its end.
hz_check "MP3: the file plays, and plays again from its start" plays_in_passes mp3 3.8 6.5

# The loop's stop falls into the file's silence; a long tone shows that the close silences it.
drive mp3stop mp3 "$winmusic\\long tone.mp3" 3 6
hz_check "MP3 closed while it sounds: the driver ran cleanly and the tone was heard" \
  eval 'clean_run mp3stop && hz_gt "$(hz_peak "$recs/mp3stop.wav" 0 "$STOP_AT")" 0.2'
hz_check "MP3 closed while it sounds: silent after MP3_Close" silent_after_stop mp3stop

for file in text.wav text.mp3 gone.wav gone.mp3; do
  drive "$file" "${file#*.}" "$winmusic\\$file" 3 2
  hz_check "$file: no crash, no message box, no sound" eval 'clean_run "$file" &&
    hz_silent "$recs/$file.wav" 0 "$(hz_calc "${STOP_AT:-0} + 1.5")" && never_said "$file" "mci play MP3Play -> 0"'
done

# Wine has no cdaudio device (open fails with 266): the no-disc path.
for repeat in 0 3; do
  drive "cd$repeat" cd 3 "$repeat"
  hz_check "CD, repeat $repeat: with no drive the poll ends after one tick, nothing plays or is closed" eval \
    'clean_run "cd$repeat" "polls 1 cd_ok 0" && grep -q "^mci status cdaudio current track -> [1-9]" "$recs/cd$repeat.out" &&
     never_said "cd$repeat" "^mci play" && never_said "cd$repeat" "^mci \(stop\|close\) cdaudio"'
done
