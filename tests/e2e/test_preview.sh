#!/usr/bin/env bash
# The control panel's preview: a child window over the given parent showing the still picture, one per
# parent, gone with its parent.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

hz_install Preview
# The window is made a child first and sized and shown after: wait until it is seen in its parent.
shown_in() { line=$(hz_probe at "$1" 1 1) && [[ "$line" == "Preview Window|"* ]]; }
preview_in() { hz_parent 152 112 "$1" && hz_start "$HZ_DIR/Hazumaki.scr" /p "$HZ_PARENT"; }  # MS the parent lives

preview_in 60000; first=$HZ_PID first_parent=$HZ_PARENT
hz_eventually shown_in "$HZ_PARENT"
hz_check "the preview is a visible child covering its 152 x 112 parent (at 100,100 on the screen) exactly" \
  test "$line" = "Preview Window|1|100|100|252|212"

preview_in 4000
hz_check "a second preview shows in its own parent" hz_eventually shown_in "$HZ_PARENT"
hz_check "the second preview ends with its parent, which lives 4 s" hz_wait_exit "$HZ_PID" 15
hz_check "the first preview runs on beside it" kill -0 "$first"

# Wine paints another process's child only on its own: lift the preview out and look at it.
picture_shown() {
  local shot="$HZ_SHOTS/preview.png" rmse
  hz_probe detach "$first_parent" 1 1 && sleep 1 || return 1
  mkdir -p "$HZ_SHOTS" && import -window root -crop 152x112+300+300 +repage "$shot" 2>/dev/null || return 1
  rmse=$(compare -metric RMSE "$shot" "$HZ_SOURCE_DIR/host/res/preview.bmp" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/')
  hz_note "preview picture against host/res/preview.bmp: normalised RMSE $rmse"
  hz_gt 0.05 "$rmse"
}
hz_check "the preview shows the still picture" picture_shown

hz_check "a preview without a parent ends by itself" eval 'hz_start "$HZ_DIR/Hazumaki.scr" /p && hz_wait_exit "$HZ_PID" 15'
