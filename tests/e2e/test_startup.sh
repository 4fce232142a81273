#!/usr/bin/env bash
# Start-up as Windows drives it: mode letters, the renderer check, the
# single-instance rule.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

missing_message="Hazumaki.dll が同じﾌｫﾙﾀﾞに見つかりません！"

# A stand-in renderer that opens its window at once, so a session lasts.
install_with_stand_in_renderer() {
  hz_install "$1" --no-renderer
  cp "$HZ_BIN/standin.exe" "$HZ_DIR/Hazumaki.dll"
}

ends_within() {  # ends_within SECONDS ARGS...: the host ends by itself in time
  local limit=$1
  shift
  hz_run "$limit" "$HZ_DIR/Hazumaki.scr" "$@" >/dev/null 2>&1
  local rc=$?
  [ "$rc" -ne 124 ] && [ "$rc" -ne 137 ]
}

no_window() { ! hz_probe exists "$1"; }

# --- other letters end silently once the working folder exists
install_with_stand_in_renderer Startup
for args in "/x" "s"; do
  hz_reset_working_folder
  hz_check "\"$args\" ends by itself" ends_within 20 "$args"
  hz_check "\"$args\" created C:\\k_arden" test -d "$HZ_C/k_arden"
  hz_check "\"$args\" showed no message" no_window Hazumaki
done

# --- a missing renderer: the message, read back from its box, then the end
missing_renderer_message() {  # ARGS...
  hz_start "$HZ_DIR/Hazumaki.scr" "$@"
  local pid=$HZ_PID text
  text=$(hz_probe msgbox Hazumaki 15000 ok)
  [ "$text" = "$missing_message" ] || { echo "    message was: '$text'"; return 1; }
  hz_wait_exit "$pid" 10
}
hz_install NoRenderer --no-renderer
hz_check "/s without Hazumaki.dll shows the message and ends" missing_renderer_message /s
hz_check "/c without Hazumaki.dll shows the message and ends" missing_renderer_message /c

# A folder named Hazumaki.dll cannot be opened for reading, so it is no renderer.
mkdir -p "$HZ_DIR/Hazumaki.dll"
hz_check "a folder named Hazumaki.dll does not count as the renderer" missing_renderer_message /s
rmdir "$HZ_DIR/Hazumaki.dll"

preview_inside_parent() {
  hz_parent 152 112 20000 || return 1
  hz_start "$HZ_DIR/Hazumaki.scr" /p "$HZ_PARENT"
  local i
  for i in $(seq 1 100); do
    hz_probe children "$HZ_PARENT" | grep -q '^Preview Window|' && return 0
    sleep 0.1
  done
  return 1
}
hz_check "a preview still shows its window without Hazumaki.dll" preview_inside_parent
hz_end_everything

# --- single instance: a running session or dialog turns every new start away
install_with_stand_in_renderer Single
blocked_by() {  # TITLE ARGS-OF-FIRST READY-TITLE
  local title=$1 first=$2 ready=$3 args result=0
  hz_reset_working_folder
  hz_start "$HZ_DIR/Hazumaki.scr" "$first"
  # Wait until the first instance has done all its start-up writing (a session's
  # files come before its renderer), so only a second start could create the folder.
  if hz_probe wait-window "$ready" 15000 >/dev/null && hz_probe exists "$title"; then
    hz_reset_working_folder
    for args in /s /c "/p 0" "" /x; do
      ends_within 10 $args || { echo "    \"$args\" did not end at once"; result=1; }
    done
    [ ! -e "$HZ_C/k_arden" ] || { echo "    a second start created C:\\k_arden"; result=1; }
  else
    echo "    $title never appeared"
    result=1
  fi
  hz_end_everything
  return $result
}
hz_check "a running session (Tovira_Main) turns away every new start" blocked_by Tovira_Main /s Tovira_VC
hz_check "an open dialog (<Hazumaki>) turns away every new start" blocked_by "<Hazumaki>" /c "<Hazumaki>"
