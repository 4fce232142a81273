#!/usr/bin/env bash
# Puts up (or takes down) the environment the end-to-end tests of one world share: Xvfb, a PulseAudio null
# sink, a Wine prefix copied from a cached template, a wineserver kept up. Its variables go to
# $HZ_E2E_STATE/env.
set -euo pipefail
: "${HZ_E2E_STATE:?}" "${HZ_SOURCE_DIR:?}" "${HZ_BIN:?}"
source "$HZ_SOURCE_DIR/tools/wine/env.sh"

state=$HZ_E2E_STATE
template=${HZ_WINE_TEMPLATE:-$HZ_SOURCE_DIR/build/wine-template}

# What sets a world (HZ_WORLD) apart from the ordinary one: its screen, the RandR monitors it is split
# into ("name geometry outputs", the first one primary), and registry values of its prefix (key, name,
# type, data).
screen=1024x768x24 monitors=() registry=()
case "${HZ_WORLD:-}" in
  '') ;;
  monitors)  # two 1024 x 768 monitors side by side; Wine lists them only with its XRandR use off
    screen=2048x768x24 monitors=('left 1024/271x768/203+0+0 screen' 'right 1024/271x768/203+1024+0 none')
    registry=('HKCU\Software\Wine\X11 Driver' UseXRandR REG_SZ N) ;;
  dpi144)  # a screen at 150 %
    registry=('HKCU\Control Panel\Desktop' LogPixels REG_DWORD 144
      'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' LogPixels REG_DWORD 144) ;;
  *) echo "unknown world '$HZ_WORLD'" >&2 && exit 2 ;;
esac

down() {
  if [ -f "$state/env" ]; then
    # In a subshell: a sound server or display started after this must not carry the old prefix in
    # its environment, or the harness takes it for a test's process and ends it.
    # shellcheck disable=SC1091
    (source "$state/env" && "$HZ_WINESERVER" -k 2>/dev/null) || true
  fi
  hz_stop_pidfile "$state/pulse.pid"
  hz_stop_pidfile "$state/xvfb.pid"
  rm -rf "$state/pfx" "$state/env"
}

up() {
  down
  mkdir -p "$state"
  local t0=$SECONDS v
  hz_make_template "$template" "$HZ_SOURCE_DIR"
  hz_start_xvfb "$state" "$screen"
  local primary='*' name geometry outputs i
  for v in "${monitors[@]}"; do
    read -r name geometry outputs <<<"$v"
    xrandr --setmonitor "$primary$name" "$geometry" "$outputs" >/dev/null && primary=
  done
  hz_start_pulse "$state"
  export WINEPREFIX="$state/pfx"
  hz_prefix_from_template "$template" "$WINEPREFIX"
  for ((i = 0; i < ${#registry[@]}; i += 4)); do
    env -u DISPLAY "$HZ_WINE" reg add "${registry[i]}" /v "${registry[i + 1]}" /t "${registry[i + 2]}" \
      /d "${registry[i + 3]}" /f >/dev/null 2>&1 || { echo "cannot set ${registry[i + 1]} in ${registry[i]}" >&2; return 1; }
  done
  "$HZ_WINESERVER" -w
  # Keeps the server between test programs: a start costs tens of ms instead of half a second.
  setsid "$HZ_WINESERVER" -p 3600 </dev/null >/dev/null 2>&1
  v=$("$HZ_WINE" "$HZ_BIN/hzprobe.exe" acp 2>/dev/null | tr -d '\r')
  [ "$v" = 1252 ] || { echo "the Wine world's ANSI code page is '$v', not 1252" >&2; return 1; }
  for v in DISPLAY WINEPREFIX XDG_RUNTIME_DIR HOME PULSE_SERVER WINEDEBUG WINEDLLOVERRIDES; do
    echo "export $v='${!v}'"
  done >"$state/env"
  echo "environment up in $((SECONDS - t0)) s: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
}

case "${1:-}" in
  up | down) "$1" ;;
  *) echo "usage: environment.sh up|down" >&2; exit 2 ;;
esac
