#!/usr/bin/env bash
# Two monitors side by side, the saver started as Windows starts it: the second monitor goes black under a
# window of the renderer's own, which follows a change of the layout, leaves Escape with the renderer after
# a click on it, and goes with the renderer.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

# --- the world first: without it nothing below means anything.
world_holds() {
  local got want=$'switch 0\n0 0 1024 768 1\n1024 0 2048 768 0'
  got=$(hz_probe monitors 1024 768 32) && [ "$got" = "$want" ] || { echo "    Wine lists: ${got//$'\n'/; }"; return 1; }
}
hz_check "Wine lists (0,0)-(1024,768) primary and (1024,0)-(2048,768), and the switch to 1024x768x32 succeeds" world_holds
[ "$HZ_FAILED" = 0 ] || exit 1

windows_are() { local got; got=$(hz_probe windows Tovira_VC | sort) && [ "$got" = "$1" ] || { echo "    windows: ${got//$'\n'/; }"; return 1; }; }
level() { convert "$1" -crop "$2" +repage -format '%[fx:mean]' info:; }  # SHOT WxH+X+Y: mean brightness there

# A white window on the second monitor stands for what the user left open there.
hz_install Monitors && hz_parent 1024 768 120000 1024 0
hz_check "before the saver the second monitor shows the white window" hz_gt "$(level "$(hz_screenshot monitors_before)" 1024x768+1024+0)" 0.9
hz_probe owner 1536 384 20000 >"$HZ_E2E_STATE/owner" & waiter=$!
hz_session /s && wait $waiter
ms=$(cat "$HZ_E2E_STATE/owner")
hz_check "the window at the second monitor's centre is the renderer's" test -n "$ms"
hz_note "it covered the second monitor ${ms:-never} ms after the renderer's window came"
hz_check "the renderer has its window and one untitled cover over the second monitor" \
  hz_eventually windows_are $'0 0 1024 768|Tovira_VC\n1024 0 2048 768|'
hz_check "the second monitor is black" hz_gt 0.02 "$(level "$(hz_screenshot monitors_session)" 1024x768+1024+0)"

# --- the second monitor shrinks to its right half; another program's display-mode call makes Wine read
#     the layout again and announce the change.
xrandr --delmonitor right && xrandr --setmonitor right 512/135x768/203+1536+0 none && hz_probe monitors 1024 768 32 >/dev/null
hz_check "after a change of the layout the cover lies over the monitor as it is now" \
  hz_eventually windows_are $'0 0 1024 768|Tovira_VC\n1536 0 2048 768|'

# --- real input: a click on the cover, then Escape held as a user holds it.
xdotool mousemove 1792 384 click 1 && sleep 0.5 && hz_probe key 0x1B 200
hz_check "a click on the second monitor, then Escape, end the saver" hz_wait_exit "$HOST" 15
hz_check "no renderer remains" test -z "$(hz_running 'Hazumaki\.dll')"
hz_check "the second monitor shows the white window again" hz_gt "$(level "$(hz_screenshot monitors_after)" 512x768+1536+0)" 0.9
