#!/usr/bin/env bash
# Where a user's Windows differs from a plain test folder: a settings file that cannot be written, a
# music file whose name the ANSI code page (1252 here) cannot hold, a program folder it cannot spell.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

hz_install Locked --stand-in && mkdir "$HZ_DIR/Hazumaki.ini"  # fails every write, even as root
hz_dialog && hz_mouse set
hz_check "設定 on a file that cannot be written says so" hz_box_says Hazumaki "$HZ_SAVE_FAILED"
hz_check "and the dialog stays open for ｷｬﾝｾﾙ" eval 'sleep 0.5 && hz_probe exists "$HZ_TITLE" && hz_mouse cancel && hz_dialog_ends'

hz_install Music --stand-in && mkdir -p "$HZ_C/Music" && printf 'RIFF' | tee "$HZ_C/Music/łza.wav" >"$HZ_C/Music/old.wav"
hz_dialog 2 0 'C:\Music\old.wav' && hz_mouse file
hz_probe filedialog "ﾌｧｲﾙを開く" 20000 'C:\Music\łza.wav'
hz_check "łza.wav, which code page 1252 cannot hold exactly, is refused with the message for such names" \
  hz_box_says Hazumaki "このﾌｧｲﾙ名にはこのｼｽﾃﾑで保存できない文字が含まれています。別のﾌｧｲﾙを選んでください。"
hz_mouse set
hz_check "設定 afterwards keeps the earlier file; nothing names a renamed lza.wav" \
  eval 'hz_dialog_ends && hz_ini_is file "C:\Music\old.wav"'

hz_install 'hz/łódź'
hz_check "/s in C:\\hz\\łódź runs a whole session" eval 'hz_session /s && hz_full_session 3'
hz_check "with the pictures handed over" test -s "$HZ_C/k_arden/Tovira03.bmp"
hz_end_everything
hz_dialog && hz_mouse cd && hz_probe settext "$HZ_TITLE" $(hz_at track) 7 && hz_mouse set
hz_check "/c there saves; the file holds the choice byte for byte" \
  eval 'hz_dialog_ends && cmp -s "$HZ_DIR/Hazumaki.ini" <(hz_ini_bytes 1 7 "")'
