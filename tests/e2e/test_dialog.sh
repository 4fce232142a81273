#!/usr/bin/env bash
# The settings dialog as a user drives it: what it shows for the stored
# settings, choosing the music with the marks, labels and the file dialog,
# confirming, cancelling, refusing a track that cannot be stored, the link.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

title="<Hazumaki>"

# Client points of the dialog's controls. The panel's client area starts at
# (14, 18): its place (12, 16) plus its two-pixel sunken frame.
at_cmd_set=(362 212)
at_cmd_can=(442 212)
at_cmd_file=(48 144)
at_none_label=(66 100)
at_cd_label=(64 80)
at_file_label=(70 120)
at_file_mark=(48 120)
at_track=(130 79)
at_file_name=(214 148)
at_link=(52 214)

# Key names as their code page 932 bytes, in hexadecimal.
key_kind=42474D8BE695AA
key_track=42474DD8CBDFB0C4
key_file=42474DCCA7B2D9

hz_install Dialog --no-renderer
# A stand-in renderer is enough for start-up's check.
cp "$HZ_BIN/hzprobe.exe" "$HZ_DIR/Hazumaki.dll"
ini="$HZ_DIR/Hazumaki.ini"
mkdir -p "$HZ_C/Music"
printf 'RIFF' >"$HZ_C/Music/a.wav"
printf 'ID3' >"$HZ_C/Music/b.mp3"

write_ini() {  # KIND TRACK FILE, as Windows writes them
  printf '[Section]\r\nBGM\x8b\xe6\x95\xaa= %s\r\nBGM\xd8\xcb\xdf\xb0\xc4= %s\r\nBGM\xcc\xa7\xb2\xd9=%s\r\n' \
    "$1" "$2" "$3" >"$ini"
}

ini_value() {  # KEYHEX: the value stored under the key
  python3 - "$ini" "$1" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
key = bytes.fromhex(sys.argv[2]) + b"="
for line in data.split(b"\n"):
    line = line.rstrip(b"\r")
    if line.startswith(key):
        sys.stdout.write(line[len(key):].decode("latin-1"))
        sys.exit(0)
sys.exit(1)
PY
}

# Windows stores " 1"; Wine's WritePrivateProfileStringA trims the leading
# space of the value the product passes and stores "1". Both are accepted.
stored_number() {  # KEYHEX NUMBER
  local v
  v=$(ini_value "$1") || { echo "    no key $1"; return 1; }
  [ "$v" = " $2" ] || [ "$v" = "$2" ] || { echo "    $1 holds '$v', expected $2"; return 1; }
}

stored_file() {  # PATH
  local v
  v=$(ini_value "$key_file") || { echo "    no file key"; return 1; }
  [ "$v" = "$1" ] || { echo "    file key holds '$v', expected '$1'"; return 1; }
}

open_dialog() {
  hz_start "$HZ_DIR/Hazumaki.scr" /c
  DIALOG_PID=$HZ_PID
  hz_probe wait-visible "$title" 20000 >/dev/null || { echo "    the dialog never showed"; return 1; }
  # The dialog's load has run once it is shown; a moment for the first paint.
  sleep 0.5
}

control() { hz_probe at "$title" "$@"; }          # X Y: class|text|enabled|l|t|r|b
field() { control "$1" "$2" | cut -d'|' -f"$3"; }  # X Y FIELD
text_at() { [ "$(field "$1" "$2" 2)" = "$3" ]; }
enabled_at() { [ "$(field "$1" "$2" 3)" = 1 ]; }
disabled_at() { [ "$(field "$1" "$2" 3)" = 0 ]; }
mouse() { hz_probe mouse "$title" "$@"; }           # X Y ACTION

# Presses and releases a push button the way a user does: the pointer
# arrives, the button goes down and comes up.
click_button() { mouse "$1" "$2" lclick; }

dialog_ends() { hz_wait_exit "$DIALOG_PID" 20; }

# Posted input and the 100 ms leave poll take effect when the dialog gets
# round to them; on a busy machine that can take a while.
eventually() {  # COMMAND...: true once COMMAND succeeds within 10 s
  local i
  for i in $(seq 1 40); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.25
  done
  "$@"
}

# The colour of one screen pixel in a screenshot.
pixel() {  # PNG X Y
  convert "$1" -format '%[hex:p{'"$2"','"$3"'}]' info: 2>/dev/null | cut -c1-6
}

# The pixel in a push button's third row, 30 pixels in: it shows the face
# picture's top band (the middle is the gradient). Normal FCFCFA,
# HighLight FFF0CF, Selected CEE7FF, Pressed 003C74 (the border).
face_pixel() {  # PNG X Y (client point of the button)
  local left top
  IFS='|' read -r _ _ _ left top _ _ <<<"$(control "$2" "$3")"
  pixel "$1" $((left + 30)) $((top + 2))
}

face_is() {  # X Y COLOUR: the button shows that face on the screen now
  local shot="$HZ_E2E_STATE/face.png"
  import -window root "$shot" 2>/dev/null
  [ "$(face_pixel "$shot" "$1" "$2")" = "$3" ]
}

# --- kind 1, track 3: what the dialog shows
write_ini 1 3 'C:\Music\a.wav'
cp "$ini" "$HZ_E2E_STATE/ini.before"
hz_check "the dialog opens for /c" open_dialog
shot=$(hz_screenshot dialog_kind1_track3)
hz_note "screenshot: $shot"
hz_check "the track field shows 3 and is enabled" \
  eval 'text_at ${at_track[@]} 3 && enabled_at ${at_track[@]}'
hz_check "the file button is disabled" disabled_at "${at_cmd_file[@]}"
hz_check "the file name shows the stored file" text_at "${at_file_name[@]}" 'C:\Music\a.wav'
hz_check "the buttons carry their captions" \
  eval 'text_at ${at_cmd_set[@]} 設定 && text_at ${at_cmd_can[@]} ｷｬﾝｾﾙ && text_at ${at_cmd_file[@]} ...'
hz_check "the choice labels read 音楽CD, なし, MP3、WAV" \
  eval 'text_at ${at_cd_label[@]} 音楽CD && text_at ${at_none_label[@]} なし && text_at ${at_file_label[@]} MP3、WAV'
hz_check "the credit line carries the version" eval '[[ "$(field 60 198 2)" == *"Ver.1.0.0" ]]'
hz_check "an idle button shows its Normal face" face_is "${at_cmd_set[@]}" FCFCFA

# The pointer on 設定 lights it up; pressing ｷｬﾝｾﾙ shows it pressed.
mouse "${at_cmd_set[@]}" move
hz_check "a hovered button shows its HighLight face" eventually face_is "${at_cmd_set[@]}" FFF0CF
hz_note "screenshot: $(hz_screenshot button_hover)"
mouse "${at_cmd_can[@]}" ldown
hz_check "a pressed button shows its Pressed face" eventually face_is "${at_cmd_can[@]}" 003C74
hz_check "the hovered button went back to Normal once the pointer left" \
  eventually face_is "${at_cmd_set[@]}" FCFCFA
hz_note "screenshot: $(hz_screenshot button_pressed)"
# The pointer leaves the held button (the poll shows it Selected) and comes
# back; the release then raises no click, so the dialog stays.
mouse "${at_cmd_set[@]}" move
hz_check "a held button the pointer left shows Selected" eventually face_is "${at_cmd_can[@]}" CEE7FF
mouse "${at_cmd_can[@]}" move
sleep 1
hz_check "coming back while still held keeps it Selected" face_is "${at_cmd_can[@]}" CEE7FF
mouse "${at_cmd_can[@]}" lup
sleep 1
hz_check "releasing after the pointer left and came back does not cancel" hz_probe exists "$title"

# --- a right-button press on なし selects it; 設定 saves kind 0
mouse "${at_none_label[@]}" rclick
hz_check "なし disables the track field and the file button" \
  eventually eval 'disabled_at ${at_track[@]} && disabled_at ${at_cmd_file[@]}'
click_button "${at_cmd_set[@]}"
hz_check "設定 closes the dialog and ends the process" dialog_ends
hz_check "the file holds kind 0" stored_number "$key_kind" 0
hz_check "the file holds track 3" stored_number "$key_track" 3
hz_check "the file path is kept" stored_file 'C:\Music\a.wav'

# --- cancel after a change writes nothing
write_ini 1 3 'C:\Music\a.wav'
cp "$ini" "$HZ_E2E_STATE/ini.before"
open_dialog
mouse "${at_file_label[@]}" ldown
hz_check "MP3、WAV enables the file button and disables the track field" \
  eventually eval 'enabled_at ${at_cmd_file[@]} && disabled_at ${at_track[@]}'
click_button "${at_cmd_can[@]}"
hz_check "ｷｬﾝｾﾙ closes the dialog" dialog_ends
hz_check "ｷｬﾝｾﾙ leaves the file's bytes unchanged" cmp -s "$ini" "$HZ_E2E_STATE/ini.before"

open_dialog
mouse "${at_none_label[@]}" ldown
hz_probe post "$title" 0x10 0 0 >/dev/null  # WM_CLOSE, as the close box sends it
hz_check "the close box closes the dialog" dialog_ends
hz_check "the close box leaves the file's bytes unchanged" cmp -s "$ini" "$HZ_E2E_STATE/ini.before"

# --- MP3、WAV, the file button and the open-file dialog
write_ini 0 0 ''
open_dialog
hz_check "kind 0: the track field is empty and disabled" \
  eval 'text_at ${at_track[@]} "" && disabled_at ${at_track[@]}'
mouse "${at_file_mark[@]}" ldown
hz_check "the MP3、WAV mark enables the file button" eventually enabled_at "${at_cmd_file[@]}"
click_button "${at_cmd_file[@]}"
hz_check "the open-file dialog opens and takes a file" hz_probe filedialog "ﾌｧｲﾙを開く" 20000 'C:\Music\b.mp3'
hz_check "the chosen path appears in the label" eventually text_at "${at_file_name[@]}" 'C:\Music\b.mp3'
shot=$(hz_screenshot dialog_file_chosen)
hz_note "screenshot: $shot"
click_button "${at_cmd_set[@]}"
hz_check "設定 closes the dialog" dialog_ends
hz_check "the file holds kind 2" stored_number "$key_kind" 2
hz_check "the file holds track 0" stored_number "$key_track" 0
hz_check "the file holds the chosen path" stored_file 'C:\Music\b.mp3'

# --- the track field: 3.5 is saved as 4, 40000 is refused
write_ini 1 3 ''
open_dialog
hz_probe settext "$title" "${at_track[@]}" 3.5
click_button "${at_cmd_set[@]}"
hz_check "3.5 typed: the dialog closes" dialog_ends
hz_check "3.5 typed: track 4 is saved" stored_number "$key_track" 4

write_ini 1 3 ''
cp "$ini" "$HZ_E2E_STATE/ini.before"
open_dialog
hz_probe settext "$title" "${at_track[@]}" 40000
click_button "${at_cmd_set[@]}"
refusal=$(hz_probe msgbox Hazumaki 15000 ok)
hz_check "40000 typed: a short Japanese refusal is shown" \
  eval '[ "$refusal" = "曲目には -32768 から 32767 までの数を入力してください。" ]'
sleep 0.5
hz_check "40000 typed: the dialog stays open" hz_probe exists "$title"
hz_check "40000 typed: the file's bytes are unchanged" cmp -s "$ini" "$HZ_E2E_STATE/ini.before"
click_button "${at_cmd_can[@]}"
hz_check "the dialog still cancels afterwards" dialog_ends

# --- a kind outside 0..2 fills no mark and enables neither control
write_ini 5 0 ''
open_dialog
hz_check "kind 5: track field and file button are disabled" \
  eval 'disabled_at ${at_track[@]} && disabled_at ${at_cmd_file[@]}'
shot=$(hz_screenshot dialog_kind5)
hz_note "screenshot: $shot"
click_button "${at_cmd_can[@]}"
dialog_ends

# --- the home-page link with no browser installed
write_ini 0 0 ''
open_dialog
hz_check "the link label shows the home page" text_at "${at_link[@]}" 'http://hazumaki.example.com/'
mouse "${at_link[@]}" lclick
sleep 3
link_survived() { kill -0 "$DIALOG_PID" 2>/dev/null && hz_probe exists "$title"; }
hz_check "the link does not crash the dialog" link_survived
click_button "${at_cmd_can[@]}"
hz_check "the dialog still answers after the link" dialog_ends
