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

now() { date +%s.%N; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a - b }'; }
above() { awk -v v="$1" -v t="$2" 'BEGIN { exit !(v > t) }'; }

# drive NAME ARGS...: runs musicdriver with ARGS while the sink is recorded into
# $recs/NAME.wav. Sets STOP_AT (seconds into the recording at which the driver said
# "stopped"), DRIVE_RC (its exit code) and DIALOGS (dialog boxes on the screen after the
# stop); its output is $recs/NAME.out.
drive() {
  local name=$1 i size
  shift
  local out="$recs/$name.out" rec="$recs/$name.wav"
  hz_record_start "$rec"
  # The recorder takes a moment to connect: wait for its first tenth of a second and
  # take the time of its first sample from the bytes it has written.
  local rate=176400  # the null sink's 44.1 kHz, 2 channels, 16 bits
  for i in $(seq 1 200); do
    size=$(stat -c %s "$rec" 2>/dev/null || echo 0)
    [ "$size" -gt $((44 + rate / 10)) ] && break
    sleep 0.05
  done
  local t0
  t0=$(minus "$(now)" "$(awk -v s="$size" -v r="$rate" 'BEGIN { print (s - 44) / r }')")

  "$HZ_WINE" "$HZ_BIN/musicdriver.exe" "$@" >"$out" 2>/dev/null &
  local pid=$!
  HZ_PIDS+=("$pid")
  STOP_AT=
  for i in $(seq 1 1200); do
    if grep -q '^stopped' "$out"; then
      STOP_AT=$(minus "$(now)" "$t0")
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  DIALOGS=$(hz_probe dialogs)
  for i in $(seq 1 1200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  sleep 2  # the recorder's last moments reach the file late
  hz_record_stop
  if kill -0 "$pid" 2>/dev/null; then
    DRIVE_RC=124
  else
    wait "$pid"
    DRIVE_RC=$?
  fi
  sed -i 's/\r$//' "$out"
}

# Start times in seconds of the bursts of sound in the first LENGTH seconds of a recording:
# 0.1 s windows whose RMS amplitude exceeds 0.05, after at least 0.5 s of quiet (so a
# dropout inside a tone is no burst).
onsets() {  # onsets FILE LENGTH
  sox "$1" -c 1 -r 8000 -t dat - trim 0 "$2" 2>/dev/null | awk '
    BEGIN { quiet = 5 }
    NR > 2 {
      s += $2 * $2
      if (++n == 800) {
        loud = sqrt(s / n) > 0.05
        if (loud && quiet >= 5) printf "%.1f\n", w / 10
        quiet = loud ? 0 : quiet + 1
        s = n = 0
        w++
      }
    }'
}

# peak FILE START LENGTH: the maximum amplitude of a stretch of a recording.
peak() { sox "$1" -n trim "$2" "$3" stat 2>&1 | awk '/^Maximum amplitude/ { print $3 }'; }

silent() {  # silent FILE START LENGTH: a stretch that is there, with nothing louder than a faint hiss
  local length p
  length=$(soxi -D "$1" 2>/dev/null)
  above "${length:-0}" "$(awk -v s="$2" -v l="$3" 'BEGIN { print s + l - 0.01 }')" ||
    { echo "    $(basename "$1") holds only ${length:-0} s"; return 1; }
  p=$(peak "$1" "$2" "$3")
  above "${p:-1}" 0.01 && { echo "    peak ${p:-?} from $2 s on in $(basename "$1")"; return 1; }
  return 0
}

# plays_in_passes NAME MIN_GAP MAX_GAP: before the stop, the file's first two passes
# start MIN_GAP to MAX_GAP seconds apart, the second one really sounds (trim + stat
# around it), and between them the file's own silence is heard.
plays_in_passes() {
  local rec="$recs/$1.wav" o
  mapfile -t o < <(onsets "$rec" "$STOP_AT")
  hz_note "$1: bursts start at ${o[*]:-nothing} s into the recording, stop at $STOP_AT s"
  [ "${#o[@]}" -ge 2 ] || return 1
  awk -v a="${o[0]}" -v b="${o[1]}" -v lo="$2" -v hi="$3" 'BEGIN { g = b - a; exit !(g >= lo && g <= hi) }' ||
    { echo "    passes $(minus "${o[1]}" "${o[0]}") s apart"; return 1; }
  above "$(peak "$rec" "${o[1]}" 1.0)" 0.2 || { echo "    the second pass is faint"; return 1; }
  silent "$rec" "$(awk -v a="${o[0]}" 'BEGIN { print a + 2.0 }')" 1.5
}

# silent_after_stop NAME SECONDS: nothing is heard for SECONDS from half a second after the
# stop (the sound server's own latency), while the driver still lives.
silent_after_stop() {
  [ -n "$STOP_AT" ] || { echo "    the driver never stopped"; return 1; }
  silent "$recs/$1.wav" "$(awk -v s="$STOP_AT" 'BEGIN { print s + 0.5 }')" "$2"
}

# sounds_before_stop NAME: the music was heard before the stop.
sounds_before_stop() { above "$(peak "$recs/$1.wav" 0 "$STOP_AT")" 0.2; }

clean_run() {  # clean_run NAME: ended by itself with 0, no dialog box on the screen meanwhile
  [ "$DRIVE_RC" -eq 0 ] || { echo "    exit code $DRIVE_RC"; return 1; }
  grep -q '^done$' "$recs/$1.out" || { echo "    no 'done' in its output"; return 1; }
  [ -z "$DIALOGS" ] || { echo "    dialog boxes: $DIALOGS"; return 1; }
}

said() { grep -qxF -- "$2" "$recs/$1.out" || { echo "    no line '$2' in $1.out"; return 1; }; }
never_said() { ! grep -q -- "$2" "$recs/$1.out" || { echo "    '$2' in $1.out"; return 1; }; }

# A stop that failed would be heard within one pass of the file (4 s), so the driver lives
# 6 s after its stop and 5 s of them are listened to.

# --- a WAV file loops through the sound player and stops with WAV_Stop
drive wav wav "$winmusic\\loop tone.wav" 9 6
hz_check "WAV: the driver ran cleanly" clean_run wav
hz_check "WAV: a wave output device is there (else the sound server is missing)" \
  grep -q '^wave devices [1-9]' "$recs/wav.out"
hz_check "WAV: played looped, asynchronous, without a default sound" \
  said wav "sound $winmusic\\loop tone.wav 11 -> 1"
# The file is 4 s long; a loaded machine may delay the sound server's next pass a little.
hz_check "WAV: the file plays, and plays again from its start about 4 s later" plays_in_passes wav 3.6 6.0
hz_check "WAV: silent after WAV_Stop" silent_after_stop wav 5

# --- an MP3 file (the path has spaces) is restarted by the 1000 ms check and stops with MP3_Close
drive mp3 mp3 "$winmusic\\loop tone.mp3" 12 6
hz_check "MP3: the driver ran cleanly" clean_run mp3
hz_check "MP3: the quoted path with spaces opened" \
  said mp3 "mci open \"$winmusic\\loop tone.mp3\" type MPEGVideo Alias MP3Play -> 0"
hz_check "MP3: the check restarted the ended file" said mp3 "mci play MP3Play from 0 -> 0"
# The file lasts 4.05 s; the next check comes within a second of its end.
hz_check "MP3: the file plays, and plays again from its start" plays_in_passes mp3 3.8 6.5
hz_check "MP3: closed at the end" said mp3 "mci close MP3Play -> 0"
hz_check "MP3: silent after MP3_Close" silent_after_stop mp3 5

drive mp3stop mp3 "$winmusic\\long tone.mp3" 3 6
hz_check "MP3 closed while it sounds: the driver ran cleanly" clean_run mp3stop
hz_check "MP3 closed while it sounds: it did sound" sounds_before_stop mp3stop
hz_check "MP3 closed while it sounds: silent after MP3_Close" silent_after_stop mp3stop 5

# --- bad files: text under a music name, a file that has vanished
for c in "textwav|wav|text.wav" "textmp3|mp3|text.mp3" "gonewav|wav|gone.wav" "gonemp3|mp3|gone.mp3"; do
  IFS='|' read -r name kind file <<<"$c"
  drive "$name" "$kind" "$winmusic\\$file" 3 2
  hz_check "$file: no crash, no message box" clean_run "$name"
  hz_check "$file: no sound, neither while it should play nor after the stop" \
    silent "$recs/$name.wav" 0 "$(awk -v s="${STOP_AT:-0}" 'BEGIN { print s + 1.5 }')"
done
hz_check "text.mp3: the open failed, so nothing was played" never_said textmp3 "mci play MP3Play -> 0"

# --- no CD drive: Wine has no cdaudio device (open fails with 266), which is the no-disc path
for repeat in 0 3; do
  drive "cd$repeat" cd 3 "$repeat"
  hz_check "CD, repeat $repeat: the driver ran cleanly" clean_run "cd$repeat"
  hz_check "CD, repeat $repeat: the poll ended after one tick" said "cd$repeat" "polls 1 cd_ok 0"
  hz_check "CD, repeat $repeat: the failed query ended it" \
    grep -q '^mci status cdaudio current track -> [1-9]' "$recs/cd$repeat.out"
  hz_check "CD, repeat $repeat: nothing played" never_said "cd$repeat" "^mci play"
  hz_check "CD, repeat $repeat: the CD was not closed after a failed poll" \
    never_said "cd$repeat" '^mci \(stop\|close\) cdaudio'
done
