# The end-to-end harness, sourced by every tests/e2e/test_*.sh: a test puts the programs into a folder of
# the shared prefix, starts them, observes with hzprobe (probe/hzprobe.cpp) and reports with hz_check.
# Every process it or the product started is ended by id; the script fails when any check failed.
set -uo pipefail
: "${HZ_E2E_STATE:?run through ctest}" "${HZ_BIN:?}" "${HZ_SOURCE_DIR:?}"
# shellcheck disable=SC1091
source "$HZ_SOURCE_DIR/tools/wine/env.sh" && source "$HZ_E2E_STATE/env"

HZ_C="$WINEPREFIX/drive_c" HZ_SHOTS=${HZ_SHOTS:-$HZ_SOURCE_DIR/build/screenshots} HZ_TEST_NAME=$(basename "$0" .sh)
HZ_PASSED=0 HZ_FAILED=0 HZ_PIDS=()
# The settings keys as their code page 932 bytes.
declare -A HZ_KEY=([kind]=$'BGM\x8b\xe6\x95\xaa' [track]=$'BGM\xd8\xcb\xdf\xb0\xc4' [file]=$'BGM\xcc\xa7\xb2\xd9')

hz_note() { echo "  note: $*"; }
hz_check() {  # DESCRIPTION COMMAND...
  if "${@:2}"; then HZ_PASSED=$((HZ_PASSED + 1)) && echo "  ok:   $1"; else HZ_FAILED=$((HZ_FAILED + 1)) && echo "  FAIL: $1"; fi
}

# hz_install FOLDER [--no-renderer|--stand-in]: on a desktop without our programs, Hazumaki.scr and the
# renderer (or hzprobe standing in for it) into C:\FOLDER, which is HZ_DIR (HZ_WINDIR as Windows names it).
hz_install() {
  hz_end_everything; HZ_DIR="$HZ_C/$1" HZ_WINDIR="C:\\${1//\//\\}"
  rm -rf "$HZ_DIR" && mkdir -p "$HZ_DIR" && cp "$HZ_BIN/Hazumaki.scr" "$HZ_DIR/"
  case "${2:-}" in --stand-in) cp "$HZ_BIN/hzprobe.exe" "$HZ_DIR/Hazumaki.dll" ;; --no-renderer) ;; *) cp "$HZ_BIN/Hazumaki.dll" "$HZ_DIR/" ;; esac
}

# hz_ini_bytes KIND TRACK FILE: the settings file as Windows writes it; hz_ini puts it in place.
hz_ini_bytes() { printf '[Section]\r\n%s= %s\r\n%s= %s\r\n%s=%s\r\n' "${HZ_KEY[kind]}" "$1" "${HZ_KEY[track]}" "$2" "${HZ_KEY[file]}" "$3"; }
hz_ini() { hz_ini_bytes "$@" >"$HZ_DIR/Hazumaki.ini"; }
# hz_ini_is KEY VALUE...: each VALUE stands under its KEY (kind, track, file), numbers as the host writes: " 1".
hz_ini_is() {
  local v want=$2 && [ "$1" = file ] || want=" $2"
  v=$(LC_ALL=C sed -n "s/^${HZ_KEY[$1]}=//p" "$HZ_DIR/Hazumaki.ini" | tr -d '\r')
  [ "$v" = "$want" ] || { echo "    $1 holds '$v', expected '$want'"; return 1; }
  [ $# -le 2 ] || hz_ini_is "${@:3}"
}

# hz_start EXE [ARGS...]: a Windows program in the background; HZ_PID is its id.
hz_start() { "$HZ_WINE" "$@" >>"$HZ_E2E_STATE/$HZ_TEST_NAME.out" 2>&1 & HZ_PID=$! && HZ_PIDS+=("$HZ_PID"); }

# hz_dialog [KIND TRACK FILE]: the settings dialog (DIALOG is its id) over that settings file, shown
# and painted; the file's bytes before are kept in HZ_INI_BEFORE.
HZ_TITLE="<Hazumaki>" HZ_INI_BEFORE="$HZ_E2E_STATE/ini.before"
hz_dialog() {
  [ $# = 0 ] || hz_ini "$@"
  cp "$HZ_DIR/Hazumaki.ini" "$HZ_INI_BEFORE" 2>/dev/null
  hz_start "$HZ_DIR/Hazumaki.scr" /c && DIALOG=$HZ_PID
  hz_probe wait-window "$HZ_TITLE" 20000 visible && sleep 0.5
}
# Client points of the dialog's controls at 96 dpi; hz_at scales them by HZ_SCALE ("3 / 2" at 144 dpi).
# The panel's client area starts at (14, 18): its place (12, 16) plus its two-pixel sunken frame.
declare -A HZ_AT=([set]="362 212" [cancel]="442 212" [file]="48 144" [none]="66 100" [cd]="64 80" [wav]="70 120"
  [mark]="48 120" [track]="130 79" [name]="214 148" [link]="52 214" [credit]="60 198")
hz_at() { local x y && read -r x y <<<"${HZ_AT[$1]}" && echo $((x * ${HZ_SCALE:-1})) $((y * ${HZ_SCALE:-1})); }
hz_mouse() { hz_probe mouse "$HZ_TITLE" $(hz_at "$1") "${2:-lclick}"; }  # CONTROL [ACTION]
hz_looks() {  # CONTROL TEXT ENABLED...: each shows TEXT ("*X": ends with X) and is enabled (1, 0 or *)
  local t e && IFS='|' read -r t e _ <<<"$(hz_probe at "$HZ_TITLE" $(hz_at "$1"))"
  [[ "$t" == "$2" || ("$2" == \** && "$t" == *"${2#\*}") ]] && [[ "$3" == "*" || "$3" == "$e" ]] ||
    { echo "    $1 shows '$t', enabled '$e'"; return 1; }
  [ $# -le 3 ] || hz_looks "${@:4}"
}
hz_dialog_ends() { hz_wait_exit "$DIALOG" 20; }
# hz_box_says CAPTION TEXT: a message box CAPTION comes, says TEXT and is answered.
hz_box_says() { local t; t=$(hz_probe msgbox "$1" 15000); [ "$t" = "$2" ] || { echo "    message was: '$t'"; return 1; }; }
HZ_SAVE_FAILED="設定を保存できませんでした。Hazumaki.ini に書き込めるか確かめてください。"

hz_session() {  # [ARGS...]: starts Hazumaki.scr (HOST is its id) and waits for the renderer's window
  hz_start "$HZ_DIR/Hazumaki.scr" "$@" && HOST=$HZ_PID
  hz_probe wait-window Tovira_VC 20000 || { echo "    no window Tovira_VC; boxes: $(hz_probe dialogs | xargs)"; return 1; }
}
hz_full_session() {  # SECONDS: the host lives SECONDS more, then ends once Tovira_VC is closed
  sleep "$1" && kill -0 "$HOST" 2>/dev/null || { echo "    the host ended early"; return 1; }
  hz_post Tovira_VC close && hz_wait_exit "$HOST" 10
}

hz_probe() { timeout -k 2 120 "$HZ_WINE" "$HZ_BIN/hzprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }
hz_background() {  # ARGS...: hzprobe ARGS in the background (HZ_PID); HZ_OUT is its first answer
  local out="$HZ_E2E_STATE/probe.$$.$RANDOM"
  "$HZ_WINE" "$HZ_BIN/hzprobe.exe" "$@" >"$out" 2>/dev/null & HZ_PID=$! && HZ_PIDS+=("$HZ_PID")
  hz_eventually grep -q . "$out"; HZ_OUT=$(tr -d '\r' <"$out")
  [ -n "$HZ_OUT" ] || { echo "    no answer from hzprobe $1"; return 1; }
}
hz_parent() { hz_background parent "$@" && HZ_PARENT=$HZ_OUT; }  # W H MS: a window living MS ms
hz_post() {  # TITLE close|escape|MSG [WPARAM [LPARAM]]
  case "$2" in close) set -- "$1" 0x0010 ;; escape) set -- "$1" 0x0100 0x1B ;; esac
  hz_probe post "$1" "$2" "${3:-0}" "${4:-0}"
}
hz_wait_exit() {  # PID TIMEOUT_S
  local i
  for ((i = 0; i < $2 * 20; i++)); do kill -0 "$1" 2>/dev/null && sleep 0.05 || { wait "$1" 2>/dev/null; return 0; }; done
  return 1
}

# hz_eventually COMMAND...: retried for up to 15 s. Posted input and timers take effect when the program
# gets round to them; on a busy machine that can take a while.
hz_eventually() { local i; for ((i = 0; i < 60; i++)); do "$@" >/dev/null 2>&1 && return 0 || sleep 0.25; done && "$@"; }

# hz_running PATTERN: ids of our prefix's Windows programs whose command line matches (a display or
# sound server may carry the prefix too). Wine's own services live as long as the prefix.
hz_running() {
  local pid wine_own='wineserver|(services|winedevice|plugplay|explorer|rpcss|svchost|conhost)\.exe'
  for pid in $(pgrep -f -- "$1"); do
    [ "$pid" != "$$" ] && grep -qz "^WINEPREFIX=$WINEPREFIX\$" "/proc/$pid/environ" 2>/dev/null &&
      [[ "$(readlink "/proc/$pid/exe" 2>/dev/null)" == *wine* ]] || continue
    [[ "$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)" =~ $wine_own ]] || echo "$pid"
  done
}
hz_no_box() { local d; d=$(hz_probe dialogs); [ -z "$d" ] || { echo "    boxes: $d"; return 1; }; }
hz_end_everything() {
  kill "${HZ_PIDS[@]}" $(hz_running '.') 2>/dev/null; sleep 0.2
  kill -9 "${HZ_PIDS[@]}" $(hz_running '.') 2>/dev/null; HZ_PIDS=()
  # A next start must not meet a dying program's window (the host would take it for a running session).
  hz_eventually eval '[ -z "$(hz_running .)" ] && ! hz_probe exists Tovira_Main && ! hz_probe exists Tovira_VC'
}

# hz_screenshot NAME: the screen as build/screenshots/NAME.png; prints the path.
hz_screenshot() { mkdir -p "$HZ_SHOTS" && import -window root "$HZ_SHOTS/$1.png" 2>/dev/null; echo "$HZ_SHOTS/$1.png"; }

# hz_tone FILE SECONDS [PAD]: a 440 Hz tone at half scale, then PAD seconds of silence.
hz_tone() { sox -n -r 44100 -c 2 -b 16 -C 128 "$1" synth "$2" sine 440 vol 0.5 pad 0 "${3:-0}" >/dev/null 2>&1; }
# hz_music_install FOLDER EXT SECONDS PAD [--stand-in]: hz_install, with such a tone the chosen music.
hz_music_install() {
  hz_install "$1" "${5:-}" && mkdir -p "$HZ_C/Music Files" && hz_ini 2 0 "C:\\Music Files\\tone 1.$2"
  hz_tone "$HZ_C/Music Files/tone 1.$2" "$3" "$4"
}
# hz_record_start FILE, hz_record_stop: records the null sink's monitor as WAV, one recording at a time.
hz_record_start() {
  hz_record_stop; parecord --latency-msec=20 -d nullsink.monitor --file-format=wav "$1" >/dev/null 2>&1 & HZ_RECORD_PID=$!
}
hz_record_stop() { kill "${HZ_RECORD_PID:-}" 2>/dev/null && wait "$HZ_RECORD_PID" 2>/dev/null; HZ_RECORD_PID=; }
hz_gt() {  # A B: A > B, where both are numbers (an empty or failed measurement is no comparison)
  local n='^-?[0-9]*\.?[0-9]+([eE][-+]?[0-9]+)?$'
  [[ "$1" =~ $n && "$2" =~ $n ]] && awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'
}
hz_calc() { awk "BEGIN { printf \"%.3f\", $* }"; }
hz_peak() { sox "$1" -n trim "$2" "$3" stat 2>&1 | awk '/^Maximum amplitude/ { print $3 }'; }  # FILE START LENGTH
# hz_silent FILE START [LENGTH]: the recording reaches that far and is no louder than a faint hiss
# there; without LENGTH, its last START seconds.
hz_silent() {
  local total p from=$2 length=${3:-$2}
  total=$(soxi -D "$1" 2>/dev/null)
  [ -n "${3:-}" ] || from=$(hz_calc "$total - $2")
  hz_gt "$total" "$(hz_calc "$from + $length - 0.01")" || { echo "    $1 is too short"; return 1; }
  p=$(hz_peak "$1" "$from" "$length")
  hz_gt 0.01 "$p" || { echo "    peak '$p' from $from s on in $1"; return 1; }
}
# hz_onsets FILE LENGTH: start times of the bursts of sound: 0.1 s windows whose RMS amplitude
# exceeds 0.05, after at least 0.5 s of quiet (so a dropout inside a tone is no new burst).
hz_onsets() {
  sox "$1" -c 1 -r 8000 -t dat - trim 0 "$2" 2>/dev/null | awk 'BEGIN { quiet = 5 } NR > 2 { s += $2 * $2; if (++n < 800) next
    loud = sqrt(s / n) > 0.05; if (loud && quiet >= 5) printf "%.1f\n", w / 10
    quiet = loud ? 0 : quiet + 1; s = n = 0; w++ }'
}
hz_reset_working_folder() { rm -rf "$HZ_C/k_arden"; }

# A script stopped by an error (an unset variable) fails too, however many checks had passed.
trap 'HZ_RC=$?; hz_end_everything; hz_record_stop; echo "$HZ_TEST_NAME: $HZ_PASSED passed, $HZ_FAILED failed"
  exit $((HZ_RC || HZ_FAILED > 0 || HZ_PASSED == 0))' EXIT
# Each test starts from a desktop without our programs and without a working folder.
hz_end_everything; hz_reset_working_folder
