# Shell functions that put up the Windows environment under Wine: a virtual X
# display, a PulseAudio null sink, and Wine prefixes made from a template.
# Sourced by the run command and by the end-to-end harness.

HZ_WINE=${HZ_WINE:-$( [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64 || command -v wine64 || command -v wine )}
HZ_WINESERVER=${HZ_WINESERVER:-$( [ -x /usr/lib/wine/wineserver ] && echo /usr/lib/wine/wineserver || command -v wineserver )}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes its locale from these: pinned, names and texts mean the same on every machine
# (UTF-8 names from the Linux side, ANSI code page 1252 for the narrow Windows calls).
export LANG=C.UTF-8 LC_ALL=C.UTF-8

# hz_start_xvfb STATE_DIR [WxHxDEPTH]: starts Xvfb on a free display (1024x768x24 unless given), exports
# DISPLAY. No reset when the last client leaves: monitors set with xrandr would go with it.
hz_start_xvfb() {
  local state=$1 size=${2:-1024x768x24} n
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    setsid Xvfb ":$n" -screen 0 "$size" -noreset -nolisten tcp -ac >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    local i pid
    pid=$(cat "$state/xvfb.pid")
    for i in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break  # lost the display to another server: try the next one
      if [ -e /tmp/.X11-unix/X$n ]; then
        # The socket may be another Xvfb's that won the same number a moment earlier.
        sleep 0.2
        kill -0 "$pid" 2>/dev/null || break
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.05
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

# hz_start_pulse STATE_DIR: a private PulseAudio with a null sink named
# nullsink whose monitor can be recorded; exports PULSE_SERVER.
hz_start_pulse() {
  local state=$1
  export XDG_RUNTIME_DIR="$state/xdg" HOME="${HZ_HOME:-$state/home}"
  mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
  chmod 700 "$XDG_RUNTIME_DIR"
  setsid pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false \
    -L "module-null-sink sink_name=nullsink" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse/native" \
    >"$state/pulse.log" 2>&1 &
  echo $! >"$state/pulse.pid"
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  local i
  for i in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && { pactl set-default-sink nullsink >/dev/null 2>&1; return 0; }
    sleep 0.05
  done
  echo "could not start PulseAudio (see $state/pulse.log)" >&2
  return 1
}

# hz_make_template TEMPLATE_DIR SOURCE_DIR: a fresh prefix with the settings our tests
# rely on (immediate window teardown, Japanese font replacements).
hz_make_template() {
  local template=$1 source_dir=$2
  [ -f "$template/.ready" ] && return 0
  rm -rf "$template"
  mkdir -p "$template"
  (
    export WINEPREFIX="$template/pfx"
    env -u DISPLAY "$HZ_WINE" wineboot -i >/dev/null 2>&1
    env -u DISPLAY "$HZ_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    env -u DISPLAY "$HZ_WINE" regedit /S "Z:$(echo "$source_dir/tools/wine/fonts.reg" | tr / '\\')" >/dev/null 2>&1
    "$HZ_WINESERVER" -w
  )
  touch "$template/.ready"
}

# hz_prefix_from_template TEMPLATE_DIR PREFIX_DIR: a working copy of the template.
hz_prefix_from_template() {
  rm -rf "$2"
  cp -a "$1/pfx" "$2"
}

# hz_stop_pidfile FILE: ends the process whose id the file holds.
hz_stop_pidfile() {
  [ -f "$1" ] || return 0
  local pid
  pid=$(cat "$1")
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$1"
  return 0
}
