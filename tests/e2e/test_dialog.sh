#!/usr/bin/env bash
# The settings dialog as a user drives it: what it shows, the push buttons' faces, choosing the music,
# confirming, cancelling, refusing a track that cannot be stored, the link.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

hz_install Dialog --stand-in
mkdir -p "$HZ_C/Music" && printf 'RIFF' >"$HZ_C/Music/a.wav" && printf 'ID3' >"$HZ_C/Music/b.mp3"
unchanged() { cmp -s "$HZ_DIR/Hazumaki.ini" "$HZ_INI_BEFORE"; }
# The pixel in a push button's third row, 30 pixels in, shows the face picture's top band: Normal
# FCFCFA, HighLight FFF0CF, Selected CEE7FF, Pressed 003C74 (the border).
face_is() {  # CONTROL COLOUR
  local left top && IFS='|' read -r _ _ left top _ <<<"$(hz_probe at "$HZ_TITLE" $(hz_at "$1"))"
  import -window root -crop "1x1+$((left + 30))+$((top + 2))" -depth 8 txt:- 2>/dev/null | grep -q "#$2\b"
}

hz_check "the dialog opens for /c" hz_dialog 1 3 'C:\Music\a.wav'
hz_note "screenshot: $(hz_screenshot dialog_kind1_track3)"
hz_check "the track field shows 3 and is enabled, the file button is disabled, the file's name shows" \
  hz_looks track 3 1 file ... 0 name 'C:\Music\a.wav' '*'
hz_check "the buttons, the choice labels and the credit line carry their texts" \
  hz_looks set 設定 '*' cancel ｷｬﾝｾﾙ '*' cd 音楽CD '*' none なし '*' wav MP3、WAV '*' credit '*Ver.1.0.0' '*'
# The faces as the pointer comes, presses 設定's neighbour ｷｬﾝｾﾙ, leaves it held (the poll shows it
# Selected) and comes back; the release then raises no click.
while IFS='|' read -r control action face colour shot what <&3; do
  [ -z "$action" ] || hz_mouse "$control" "$action"
  sleep 1 && hz_check "$what" hz_eventually face_is "$face" "$colour"
  [ -z "$shot" ] || hz_note "screenshot: $(hz_screenshot "$shot")"
done 3<<'STEPS'
||set|FCFCFA||an idle button shows its Normal face
set|move|set|FFF0CF|button_hover|a hovered button shows its HighLight face
cancel|ldown|cancel|003C74|button_pressed|a pressed button shows its Pressed face
||set|FCFCFA||the hovered button went back to Normal once the pointer left
set|move|cancel|CEE7FF||a held button the pointer left shows Selected
cancel|move|cancel|CEE7FF||coming back while still held keeps it Selected
STEPS
hz_mouse cancel lup && sleep 1
hz_check "releasing after the pointer left and came back does not cancel" hz_probe exists "$HZ_TITLE"

hz_mouse none rclick  # the right button selects a choice too
hz_check "なし disables the track field and the file button" hz_eventually hz_looks track '*' 0 file '*' 0
hz_mouse set
hz_check "設定 closes the dialog" hz_dialog_ends
hz_check "the file holds kind 0, track 3 and the file path as it was" hz_ini_is kind 0 track 3 file 'C:\Music\a.wav'

hz_dialog 1 3 'C:\Music\a.wav'
hz_mouse wav ldown
hz_check "MP3、WAV enables the file button and disables the track field" hz_eventually hz_looks file '*' 1 track '*' 0
hz_post "$HZ_TITLE" close  # as the close box sends it
hz_check "the close box closes the dialog and leaves the file's bytes unchanged" eval 'hz_dialog_ends && unchanged'

hz_dialog 0 0 ''
hz_check "kind 0: the track field is empty and disabled" hz_looks track '' 0
hz_mouse mark ldown
hz_check "the MP3、WAV mark enables the file button" hz_eventually hz_looks file '*' 1
hz_mouse file
hz_check "the open-file dialog opens and takes a file" hz_probe filedialog "ﾌｧｲﾙを開く" 20000 'C:\Music\b.mp3'
hz_check "the chosen path appears in the label" hz_eventually hz_looks name 'C:\Music\b.mp3' '*'
hz_note "screenshot: $(hz_screenshot dialog_file_chosen)"
hz_mouse set
hz_check "設定 closes the dialog; the file holds kind 2, track 0 and the chosen path" \
  eval 'hz_dialog_ends && hz_ini_is kind 2 track 0 file "C:\Music\b.mp3"'

hz_dialog 1 3 ''
hz_probe settext "$HZ_TITLE" $(hz_at track) 40000 && hz_mouse set
hz_check "40000 typed: a short Japanese refusal is shown" hz_box_says Hazumaki "曲目には -32768 から 32767 までの数を入力してください。"
hz_check "40000 typed: the dialog stays open, the file's bytes unchanged" eval 'sleep 0.5 && hz_probe exists "$HZ_TITLE" && unchanged'
hz_probe settext "$HZ_TITLE" $(hz_at track) 3.5 && hz_mouse set
hz_check "3.5 typed afterwards: the dialog closes and track 4 is saved" eval 'hz_dialog_ends && hz_ini_is track 4'

hz_dialog 5 0 ''
hz_check "kind 5: the track field and the file button are disabled" hz_looks track '*' 0 file '*' 0
hz_note "screenshot: $(hz_screenshot dialog_kind5)"
hz_check "the link label shows the home page" hz_looks link 'http://hazumaki.example.com/' '*'
hz_mouse link && sleep 3
hz_check "the link, with no browser installed, does not crash the dialog" eval 'kill -0 "$DIALOG" && hz_probe exists "$HZ_TITLE"'
hz_mouse none ldown && hz_mouse cancel
hz_check "ｷｬﾝｾﾙ then closes the dialog and leaves the file's bytes unchanged" eval 'hz_dialog_ends && unchanged'

hz_dialog 1 3 'C:\Music\a.wav'
hz_background hold 30000 "$HZ_WINDIR\\Hazumaki.ini"  # open without sharing, in another process
hz_mouse none rclick && sleep 0.5 && hz_mouse set
hz_check "settings file held while 設定 saves: the dialog says so" hz_box_says Hazumaki "$HZ_SAVE_FAILED"
hz_check "and stays open, the file intact, until ｷｬﾝｾﾙ" \
  eval 'sleep 0.5 && hz_probe exists "$HZ_TITLE" && unchanged && hz_mouse cancel && hz_dialog_ends && unchanged'
