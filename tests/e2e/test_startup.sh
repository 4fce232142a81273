#!/usr/bin/env bash
# Start-up as Windows drives it: mode letters, the renderer check, the single-instance rule.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

ends_within() {  # SECONDS ARGS...: the host ends by itself in time (124 and 137 are timeout's)
  timeout -k 2 "$1" "$HZ_WINE" "$HZ_DIR/Hazumaki.scr" "${@:2}" >/dev/null 2>&1
  [[ ! $? =~ ^(124|137)$ ]]
}

hz_install Startup --stand-in
for args in /x s; do
  hz_reset_working_folder
  hz_check "\"$args\" ends by itself, without a message, after creating C:\\k_arden" \
    eval 'ends_within 20 $args && test -d "$HZ_C/k_arden" && ! hz_probe exists Hazumaki'
done

missing_message() {  # ARGS...
  hz_start "$HZ_DIR/Hazumaki.scr" "$@"
  hz_box_says Hazumaki "Hazumaki.dll が同じﾌｫﾙﾀﾞに見つかりません！" && hz_wait_exit "$HZ_PID" 10
}
hz_install NoRenderer --no-renderer
for args in /s /c; do hz_check "$args without Hazumaki.dll shows the message and ends" missing_message $args; done
hz_check "a preview still shows its window without Hazumaki.dll" eval 'hz_parent 152 112 20000 &&
  hz_start "$HZ_DIR/Hazumaki.scr" /p "$HZ_PARENT" && hz_eventually eval "hz_probe at $HZ_PARENT 1 1 | grep -q ^Preview"'
hz_end_everything; mkdir "$HZ_DIR/Hazumaki.dll"  # cannot be opened for reading, so it is no renderer
hz_check "a folder named Hazumaki.dll does not count as the renderer" missing_message /s

blocked_by() {  # TITLE ARGS-OF-FIRST READY-TITLE
  local args result=0
  hz_install Single --stand-in && hz_reset_working_folder && hz_start "$HZ_DIR/Hazumaki.scr" "$2"
  # Once the first instance is ready it has done its own writing (a session's files come before its
  # renderer), so only a second start could create the folder.
  hz_probe wait-window "$3" 15000 && hz_probe exists "$1" || { echo "    $1 never appeared"; return 1; }
  hz_reset_working_folder
  for args in /s /c "/p 0" "" /x; do ends_within 10 $args || { echo "    \"$args\" did not end at once"; result=1; }; done
  [ ! -e "$HZ_C/k_arden" ] || { echo "    a second start created C:\\k_arden"; result=1; }
  return $result
}
hz_check "a running session (Tovira_Main) turns away every new start" blocked_by Tovira_Main /s Tovira_VC
hz_check "an open dialog (<Hazumaki>) turns away every new start" blocked_by "$HZ_TITLE" /c "$HZ_TITLE"
