#!/usr/bin/env bash
# The control panel's preview: a child window over the given parent showing
# the still picture, one per parent, gone with its parent.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

hz_install Preview

preview_child() {  # PARENT: prints the preview's line from hzprobe children once it is shown
  local i line
  for i in $(seq 1 100); do
    # The window is made a child first and sized and shown after: wait for the shown state.
    line=$(hz_probe children "$1" | grep '^Preview Window|')
    [ "$(echo "$line" | cut -d'|' -f6)" = 1 ] && { echo "$line"; return 0; }
    sleep 0.1
  done
  echo "$line"
  return 1
}

# --- a 152 x 112 parent is covered exactly
hz_parent 152 112 60000
first_parent=$HZ_PARENT
hz_start "$HZ_DIR/Hazumaki.scr" /p "$first_parent"
first=$HZ_PID
line=$(preview_child "$first_parent")
hz_check "the preview window is a child of the given parent" test -n "$line"
hz_check "it covers the parent exactly: at 0,0, 152 x 112, visible" \
  test "$(echo "$line" | cut -d'|' -f2-6)" = "0|0|152|112|1"

# --- a second preview runs beside the first
hz_parent 152 112 4000
second_parent=$HZ_PARENT
hz_start "$HZ_DIR/Hazumaki.scr" /p "$second_parent"
second=$HZ_PID
hz_check "a second preview shows in its own parent" preview_child "$second_parent"
hz_check "the first keeps running beside it" kill -0 "$first"

# --- destroying a parent ends its preview process (the second parent lives 4 s)
hz_check "the preview ends with its parent" hz_wait_exit "$second" 15
hz_check "the other preview is unaffected" kill -0 "$first"

# --- the picture: Wine paints another process's child only on its own, so
#     lift the preview out of its parent and look at it on the screen.
picture_shown() {
  local handle shot="$HZ_E2E_STATE/preview-shot.png" expected="$HZ_E2E_STATE/preview-expected.png" rmse
  handle=$(echo "$line" | cut -d'|' -f7)
  hz_probe detach "$handle" 300 300 || return 1
  sleep 1
  import -window root -crop 152x112+300+300 +repage "$shot" 2>/dev/null || return 1
  convert "$HZ_SOURCE_DIR/host/res/preview.bmp" "$expected" || return 1
  rmse=$(compare -metric RMSE "$shot" "$expected" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/')
  hz_note "preview picture against host/res/preview.bmp: normalised RMSE $rmse"
  awk -v e="$rmse" 'BEGIN { exit !(e < 0.05) }'
}
hz_check "the preview shows the still picture" picture_shown
mkdir -p "$HZ_SHOTS" && cp "$HZ_E2E_STATE/preview-shot.png" "$HZ_SHOTS/preview.png" 2>/dev/null

# --- no parent at all: nothing to show in, and the process does not linger
hz_start "$HZ_DIR/Hazumaki.scr" /p
hz_check "a preview without a parent ends by itself" hz_wait_exit "$HZ_PID" 15
