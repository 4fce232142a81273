#!/usr/bin/env bash
# What the platform and other processes do to a running saver: the renderer or the host killed, the working
# folder blocked, files held open, a second renderer. Nothing may crash, hang, or leave sound or a window.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

renderer_ids() { hz_running 'Hazumaki\.dll'; }
music_session() { hz_music_install "$1" wav 3 0 && hz_session /s; }  # FOLDER: the real renderer, a 3 s tone

renderer_killed() {
  local rec="$HZ_E2E_STATE/faults-killed.wav" ids t0 before
  hz_record_start "$rec" && sleep 0.5
  music_session KilledRenderer && sleep 3 || return 1
  ids=$(renderer_ids) && [ -n "$ids" ] || { echo "    no renderer"; return 1; }
  t0=$EPOCHREALTIME && kill -9 $ids
  hz_wait_exit "$HOST" 5 || { echo "    the host is still running"; return 1; }
  hz_note "host ended $(hz_calc "$EPOCHREALTIME - $t0") s after the renderer was killed"
  sleep 2 && hz_record_stop
  before=$(hz_peak "$rec" "$(hz_calc "$(soxi -D "$rec") - 4")" 1) && hz_note "peak while playing $before"
  hz_gt "$before" 0.2 && hz_silent "$rec" 1.5
}
hz_check "renderer killed mid-session: the host ends within 5 s and the music stops" renderer_killed
hz_check "nothing of the session is left" test -z "$(renderer_ids)"

host_killed() {
  music_session KilledHost && sleep 2 || return 1
  kill -9 "$HOST" && hz_wait_exit "$HOST" 5 && sleep 1 || return 1
  hz_probe exists Tovira_VC || { echo "    the renderer went with the host"; return 1; }
  hz_post Tovira_VC escape
  hz_eventually eval '[ -z "$(renderer_ids)" ]' && ! hz_probe exists Tovira_VC
}
hz_check "host killed: the renderer runs on and ends on Escape" host_killed

plain_session() {  # SHOT: a session with the real renderer runs several seconds without a box and ends
  hz_session /s && sleep 3 && hz_no_box && hz_screenshot "faults_$1" >/dev/null && hz_full_session 0
}

hz_install Blocked && hz_reset_working_folder && echo "not a folder" >"$HZ_C/k_arden"
hz_check "a file named k_arden in the way: the session runs without a box and ends" plain_session Blocked
hz_check "the file in the way is left alone" grep -q "not a folder" "$HZ_C/k_arden"

hz_install Held && hz_reset_working_folder && mkdir -p "$HZ_C/k_arden"
hz_check "Tovira01/02.bmp held open without sharing: the session runs without a box and ends" eval \
  'hz_background hold 60000 "C:\k_arden\Tovira01.bmp" "C:\k_arden\Tovira02.bmp" && [ "$HZ_OUT" = held ] &&
   plain_session Held'
hz_check "the unheld picture was still written" test "$(stat -c %s "$HZ_C/k_arden/Tovira03.bmp")" = 196662

second_renderer() {  # started by hand during a session
  hz_install Second && hz_session /s || return 1
  hz_start "$HZ_DIR/Hazumaki.dll" && sleep 4
  local second=$HZ_PID n=$(renderer_ids | wc -l)
  hz_note "$n renderers running" && [ "$n" = 2 ] && hz_no_box || return 1
  # Each close request reaches one of the two windows of that title.
  for _ in 1 2 3 4 5 6; do hz_post Tovira_VC close || break; sleep 1; done
  hz_wait_exit "$second" 10 && hz_wait_exit "$HOST" 10 && [ -z "$(renderer_ids)" ]
}
hz_check "a second renderer during a session: both run, both end, the host ends" second_renderer
