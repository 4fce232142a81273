#!/usr/bin/env bash
# Where a user's Windows differs from a plain test folder: a settings file
# that cannot be written, a music file whose name the ANSI code page (1252
# here) cannot hold, and a program folder whose name it cannot spell.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

title="<Hazumaki>"
declare -A at=([set]="362 212" [cancel]="442 212" [file]="48 144" [cd]="64 80" [track]="130 79")
mouse() { hz_probe mouse "$title" ${at[$1]} lclick; }
open_dialog() {
  hz_start "$HZ_DIR/Hazumaki.scr" /c
  DIALOG=$HZ_PID
  hz_probe wait-window "$title" 20000 visible && sleep 0.5
}
ini_bytes() { printf '[Section]\r\n%s= %s\r\n%s= %s\r\n%s=%s\r\n' "${HZ_KEY[kind]}" "$1" "${HZ_KEY[track]}" "$2" \
  "${HZ_KEY[file]}" "$3"; }

# --- a settings file that cannot be written (a folder of that name fails every write, even as root)
hz_install Locked --stand-in
mkdir "$HZ_DIR/Hazumaki.ini"
open_dialog
mouse set
hz_check "設定 on a file that cannot be written says so" test "$(hz_probe msgbox Hazumaki 15000)" = \
  "設定を保存できませんでした。Hazumaki.ini に書き込めるか確かめてください。"
sleep 0.5
hz_check "and the dialog stays open for ｷｬﾝｾﾙ" eval 'hz_probe exists "$title" && mouse cancel && hz_wait_exit "$DIALOG" 20'

# --- a chosen file whose name code page 1252 cannot hold exactly is refused, not renamed
hz_install Music --stand-in
mkdir -p "$HZ_C/Music"
printf 'RIFF' >"$HZ_C/Music/łza.wav"
hz_ini 2 0 'C:\Music\old.wav'
printf 'RIFF' >"$HZ_C/Music/old.wav"
cp "$HZ_DIR/Hazumaki.ini" "$HZ_E2E_STATE/ini.before"
open_dialog
mouse file
hz_probe filedialog "ﾌｧｲﾙを開く" 20000 'C:\Music\łza.wav'
hz_check "łza.wav is refused with the message for names the system cannot store" \
  test "$(hz_probe msgbox Hazumaki 15000)" = \
  "このﾌｧｲﾙ名にはこのｼｽﾃﾑで保存できない文字が含まれています。別のﾌｧｲﾙを選んでください。"
mouse set
hz_check "設定 afterwards keeps the earlier file; nothing names lza.wav" \
  eval 'hz_wait_exit "$DIALOG" 20 && hz_ini_is file "C:\Music\old.wav"'

# --- both programs in a folder code page 1252 cannot spell
hz_install 'hz/łódź'
hz_check "/s in C:\\hz\\łódź runs a whole session" eval 'hz_session /s && hz_full_session 3'
hz_check "with the pictures handed over" test -s "$HZ_C/k_arden/Tovira03.bmp"
hz_end_everything
open_dialog
mouse cd
hz_probe settext "$title" ${at[track]} 7
mouse set
hz_check "/c there saves; the file holds the choice byte for byte" \
  eval 'hz_wait_exit "$DIALOG" 20 && cmp -s "$HZ_DIR/Hazumaki.ini" <(ini_bytes 1 7 "")'
