# The end-to-end harness, sourced by every tests/e2e/test_*.sh.
#
# A test puts the programs into a folder of the shared prefix, starts them
# with hz_start (or runs them to the end with hz_run), observes with hzprobe
# and the helpers below, and reports with hz_check. Everything it started,
# and every process the product started in turn, is ended by id when the
# script exits. The script fails when any check failed.
#
#   hz_install FOLDER [--no-renderer]   copies Hazumaki.scr (and Hazumaki.dll) to C:\FOLDER;
#                                       sets HZ_DIR (Linux path) and HZ_WINDIR (Windows path)
#   hz_start EXE [ARGS...]              starts a Windows program in the background; HZ_PID is its id
#   hz_run TIMEOUT_S EXE [ARGS...]      runs a Windows program to its end; its exit code is returned
#   hz_probe ARGS...                    runs hzprobe (see probe/hzprobe.cpp); stdout is its answer
#   hz_parent W H MS                    a stand-in preview parent window of W x H pixels living MS ms;
#                                       HZ_PARENT is its handle (decimal), HZ_PID its process
#   hz_wait_exit PID TIMEOUT_S          waits for a process to end; returns 1 when it is still running
#   hz_running PATTERN                  prints the ids of our prefix's processes whose command line matches
#   hz_screenshot NAME                  saves the whole screen as build/screenshots/NAME.png
#   hz_record_start FILE / hz_record_stop   records the null sink's monitor as WAV
#   hz_check DESCRIPTION COMMAND...     runs COMMAND; counts and prints the result
#   hz_note TEXT                        prints a measurement or remark
#   hz_reset_working_folder             removes C:\k_arden and everything in it
set -uo pipefail
: "${HZ_E2E_STATE:?run through ctest}" "${HZ_BIN:?}" "${HZ_SOURCE_DIR:?}"
# shellcheck disable=SC1091
source "$HZ_SOURCE_DIR/tools/wine/env.sh"
# shellcheck disable=SC1091
source "$HZ_E2E_STATE/env"

HZ_C="$WINEPREFIX/drive_c"
HZ_SHOTS=${HZ_SHOTS:-$HZ_SOURCE_DIR/build/screenshots}
HZ_PASSED=0
HZ_FAILED=0
HZ_PIDS=()
HZ_TEST_NAME=$(basename "$0" .sh)

hz_note() { echo "  note: $*"; }

hz_check() {
  local what=$1
  shift
  if "$@"; then
    HZ_PASSED=$((HZ_PASSED + 1))
    echo "  ok:   $what"
  else
    HZ_FAILED=$((HZ_FAILED + 1))
    echo "  FAIL: $what"
  fi
}

hz_install() {
  local folder=$1
  HZ_DIR="$HZ_C/$folder"
  HZ_WINDIR="C:\\$(echo "$folder" | tr / '\\')"
  rm -rf "$HZ_DIR"
  mkdir -p "$HZ_DIR"
  cp "$HZ_BIN/Hazumaki.scr" "$HZ_DIR/"
  if [ "${2:-}" != "--no-renderer" ] && [ -f "$HZ_BIN/Hazumaki.dll" ]; then
    cp "$HZ_BIN/Hazumaki.dll" "$HZ_DIR/"
  fi
}

hz_start() {
  "$HZ_WINE" "$@" >>"$HZ_E2E_STATE/$HZ_TEST_NAME.out" 2>&1 &
  HZ_PID=$!
  HZ_PIDS+=("$HZ_PID")
}

hz_run() {
  local limit=$1
  shift
  timeout -k 2 "$limit" "$HZ_WINE" "$@"
}

hz_probe() { timeout -k 2 120 "$HZ_WINE" "$HZ_BIN/hzprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }

hz_parent() {
  local out="$HZ_E2E_STATE/parent.$$.$RANDOM" i
  "$HZ_WINE" "$HZ_BIN/hzprobe.exe" parent "$1" "$2" "$3" >"$out" 2>/dev/null &
  HZ_PID=$!
  HZ_PIDS+=("$HZ_PID")
  HZ_PARENT=
  for i in $(seq 1 200); do
    HZ_PARENT=$(tr -d '\r' <"$out" | head -n 1)
    [ -n "$HZ_PARENT" ] && break
    sleep 0.05
  done
  rm -f "$out"
  [ -n "$HZ_PARENT" ]
}

hz_wait_exit() {
  local pid=$1 limit=$2 i
  for i in $(seq 1 $((limit * 20))); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    sleep 0.05
  done
  return 1
}

# Wine's own service processes live as long as the prefix; everything else is ours.
hz_running() {
  local pattern=$1 pid cmd
  for pid in $(pgrep -f -- "$pattern"); do
    [ "$pid" = "$$" ] && continue
    grep -qz "^WINEPREFIX=$WINEPREFIX\$" "/proc/$pid/environ" 2>/dev/null || continue
    # Only Windows programs: a display or sound server may carry the variable too.
    case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in *wine*) ;; *) continue ;; esac
    cmd=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)
    case "$cmd" in *wineserver*|*services.exe*|*winedevice.exe*|*plugplay.exe*|*explorer.exe*|*rpcss.exe*|*svchost.exe*|*conhost.exe*) continue ;; esac
    echo "$pid"
  done
}

hz_end_everything() {
  local pid
  for pid in "${HZ_PIDS[@]}" $(hz_running '.'); do kill "$pid" 2>/dev/null; done
  sleep 0.2
  for pid in "${HZ_PIDS[@]}" $(hz_running '.'); do kill -9 "$pid" 2>/dev/null; done
  [ -n "${HZ_RECORD_PID:-}" ] && kill "$HZ_RECORD_PID" 2>/dev/null
  return 0
}

hz_screenshot() {
  mkdir -p "$HZ_SHOTS"
  import -window root "$HZ_SHOTS/$1.png" 2>/dev/null
  echo "$HZ_SHOTS/$1.png"
}

hz_record_start() {
  parecord --latency-msec=20 -d nullsink.monitor --file-format=wav "$1" >/dev/null 2>&1 &
  HZ_RECORD_PID=$!
}

hz_record_stop() {
  [ -n "${HZ_RECORD_PID:-}" ] || return 0
  kill "$HZ_RECORD_PID" 2>/dev/null
  wait "$HZ_RECORD_PID" 2>/dev/null
  HZ_RECORD_PID=
}

hz_reset_working_folder() { rm -rf "$HZ_C/k_arden"; }

hz_finish() {
  hz_end_everything
  echo "$HZ_TEST_NAME: $HZ_PASSED passed, $HZ_FAILED failed"
  if [ "$HZ_FAILED" -gt 0 ] || [ "$HZ_PASSED" -eq 0 ]; then exit 1; fi
  exit 0
}
trap hz_finish EXIT

# Each test starts from a desktop without our programs and without a working folder.
hz_end_everything
hz_reset_working_folder
