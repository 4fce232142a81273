#!/usr/bin/env bash
# The installer as a user meets it, in a Wine world of its own (display, prefix, server): a silent per-user
# install, the screensaver chosen and run from where it was installed, its settings saved there, a repair, an
# upgrade that keeps them, and a silent removal that leaves nothing behind but what the user chose or made.
set -u
: "${HZ_SOURCE_DIR:?}" "${HZ_BUILD:?}" "${HZ_MSI:?}" "${HZ_VERSION:?}"
source "$HZ_SOURCE_DIR/tools/wine/env.sh"
state=$(mktemp -d "${TMPDIR:-/tmp}/hz-install.XXXXXX")
export WINEPREFIX=$state/pfx
trap '"$HZ_WINESERVER" -k 2>/dev/null; hz_stop_pidfile "$state/xvfb.pid"; rm -rf "$state"' EXIT
source "$(dirname "$0")/lib.sh"
wine() { "$HZ_WINE" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }  # the program's status, not tr's
msiexec() {  # /i|/x PACKAGE-OR-PRODUCT-CODE: silently, timed
  local t0=$EPOCHREALTIME target=$2 rc
  [[ $target == /* ]] && target="Z:${target//\//\\}"
  wine msiexec "$1" "$target" /qn; rc=$?
  echo "msiexec $1 took $(echo "$EPOCHREALTIME - $t0" | bc) s" && return $rc
}
desktop() { wine reg query 'HKCU\Control Panel\Desktop' /v "$1" | sed -n "s/^ *$1 *REG_SZ *//p"; }
listed() { wine uninstaller --list | grep '|||Hazumaki$'; }
probe() { timeout -k 2 60 "$HZ_WINE" "$HZ_BUILD/bin/hzprobe.exe" "$@" >/dev/null 2>&1; }
ends() { timeout "$2" tail --pid="$1" -f /dev/null; }

hz_make_template "$HZ_SOURCE_DIR/build/wine-template" "$HZ_SOURCE_DIR"
hz_prefix_from_template "$HZ_SOURCE_DIR/build/wine-template" "$WINEPREFIX"
hz_start_xvfb "$state" || exit 1
echo "installer: $(stat -c %s "$HZ_MSI") bytes"
# Windows refuses a deferred custom action sequenced outside the script (InstallInitialize
# to InstallFinalize); Wine runs it anyway, so the tables are read instead.
in_script() {
  awk -F'\t' 'NR == FNR { if (FNR > 3 && int($2 / 1024) % 2) deferred[$1]; next }
    FNR > 3 { seq[$1] = $3 }
    END { for (a in deferred) if (++n && !(seq[a] > seq["InstallInitialize"] && seq[a] < seq["InstallFinalize"])) exit 1
          exit n == 0 }' <(msiinfo export "$HZ_MSI" CustomAction) <(msiinfo export "$HZ_MSI" InstallExecuteSequence)
}
check "the installer's own steps are sequenced inside the installation script" in_script

check "the installer installs silently without administrator rights" msiexec /i "$HZ_MSI"
app_data=$(wine cmd /c 'echo %APPDATA%')
win_dir="$(wine cmd /c 'echo %LOCALAPPDATA%')\\Programs\\Hazumaki"
dir=$(wine winepath -u "$win_dir")
menu="$(wine winepath -u "$app_data")/Microsoft/Windows/Start Menu/Programs/Hazumaki.lnk"
same_files() { for f in Hazumaki.scr Hazumaki.dll README.txt; do cmp -s "$HZ_BUILD/release/$f" "$dir/$f" || return 1; done; }
check "both programs and the read-me are in %LOCALAPPDATA%\\Programs\\Hazumaki" same_files
saver_is_ours() { [ "$(desktop SCRNSAVE.EXE | tr A-Z a-z)" = "$(echo "$win_dir\\Hazumaki.scr" | tr A-Z a-z)" ]; }
check "Hazumaki is the current screensaver" saver_is_ours
check "the screensaver is switched on" test "$(desktop ScreenSaveActive)" = 1
# Wine has no desk.cpl, so the shortcut is read rather than run.
shortcut_ok() { tr -d '\0' <"$menu" | grep -qiF "desk.cpl,InstallScreenSaver $win_dir\\Hazumaki.scr" &&
  tr -d '\0' <"$menu" | grep -qi 'system32\\rundll32.exe'; }
check "the Start menu selects it again through rundll32 desk.cpl,InstallScreenSaver" shortcut_ok
check "the installed programs list Hazumaki once" test "$(listed | wc -l)" = 1
code=$(listed | cut -d'|' -f1)
version() { wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code" /v DisplayVersion |
  sed -n 's/^ *DisplayVersion *REG_SZ *//p'; }
check "with its version $HZ_VERSION" test "$(version)" = "$HZ_VERSION"

work="$WINEPREFIX/drive_c/k_arden"
"$HZ_WINE" "$dir/Hazumaki.scr" /s >/dev/null 2>&1 & host=$!
check "the installed Hazumaki.scr /s shows the renderer" probe wait-window Tovira_VC 30000
sleep 3
check "and writes the hand-over files" test -s "$work/Tovira02.bmp" -a -s "$work/Tovira03.bmp"
probe post Tovira_VC 0x0010 0 0
check "closing the renderer ends the session" ends $host 20
"$HZ_WINE" "$dir/Hazumaki.scr" /c >/dev/null 2>&1 & host=$!
probe wait-window '<Hazumaki>' 30000 visible && sleep 1
probe mouse '<Hazumaki>' 362 212 lclick  # the dialog's 設定 button
check "/c saves Hazumaki.ini beside the installed program" eval 'ends $host 20 && test -s "$dir/Hazumaki.ini"'
cp "$dir/Hazumaki.ini" "$state/settings"

rm "$dir/Hazumaki.dll"
check "running the same installer again repairs a lost program" eval 'msiexec /i "$HZ_MSI" && same_files'
next=$state/Hazumaki-9.9.9-x64.msi
cmake -DVERSION=9.9.9 -DOUTPUT="$next" -P "$HZ_BUILD/package/msi.cmake" || exit 1
check "a higher version installs over it" msiexec /i "$next"
check "and replaces it in the installed programs" eval '[ "$(listed | wc -l)" = 1 ] && code=$(listed | cut -d"|" -f1) && [ "$(version)" = 9.9.9 ]'
check "keeping the settings, the programs and the user's choice" \
  eval 'cmp -s "$state/settings" "$dir/Hazumaki.ini" && same_files && saver_is_ours'

check "the upgraded product uninstalls silently" msiexec /x "$next"
check "the programs, the settings and their folders are gone" test ! -e "$dir" -a ! -e "$(dirname "$dir")"
check "the hand-over files and C:\\k_arden are gone" test ! -e "$work"
check "Hazumaki is no longer the screensaver" test -z "$(desktop SCRNSAVE.EXE)"
check "the Start-menu entry and the product's own values are gone" \
  eval 'test ! -e "$menu" && ! "$HZ_WINE" reg query "HKCU\\Software\\Hazumaki" >/dev/null 2>&1'
check "the installed programs no longer list it" test -z "$(listed)"

# A user who chose another saver keeps it, and their own files in C:\k_arden stay.
msiexec /i "$HZ_MSI"
other='C:\windows\system32\other.scr'
wine reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /t REG_SZ /d "$other" /f >/dev/null
mkdir -p "$work" && touch "$work"/Tovira0{1,2,3}.bmp "$work/mine.txt"
check "uninstalling by product code" msiexec /x "$(listed | cut -d'|' -f1)"
check "keeps the saver the user chose" test "$(desktop SCRNSAVE.EXE)" = "$other"
check "and the user's own file in C:\\k_arden, and only that" test "$(ls "$work")" = mine.txt

exit $((failures > 0))
