#!/usr/bin/env bash
# The renderer on its own, started as the host starts it: its window comes
# at once, Escape and a close request end it, the mouse and the system's
# screensaver requests do not, and missing or damaged pictures leave it running.
source "$HZ_SOURCE_DIR/tests/e2e/lib/harness.sh"

hz_install RendererFrame
k="$HZ_C/k_arden"
res="$HZ_SOURCE_DIR/host/res"

start_renderer() {  # RENDERER is its process
  hz_start "$HZ_DIR/Hazumaki.dll"
  RENDERER=$HZ_PID
  hz_probe wait-window Tovira_VC 15000
}

running() { kill -0 "$RENDERER" 2>/dev/null && hz_probe exists Tovira_VC; }
ends_on() {  # MSG [WPARAM]: once posted, the running renderer's process ends and its window is gone
  running && hz_post Tovira_VC "$@" && hz_wait_exit "$RENDERER" 15 && ! hz_probe exists Tovira_VC
}

# --- the window comes first, before the pictures are loaded. The host's hidden
#     session window exists when it starts the renderer; a stand-in keeps Wine's
#     desktop up the same way, so the figure is not that of a cold desktop.
mkdir -p "$k" && cp "$res"/Tovira0{1,2,3}.bmp "$k/"  # what the host writes
hz_parent 1 1 120000
# Into a file, not a pipe: the renderer inherits the output and would hold a pipe open.
timeout -k 2 60 "$HZ_WINE" "$HZ_BIN/hzstart.exe" "$HZ_WINDIR\\Hazumaki.dll" Tovira_VC 15000 \
  >"$HZ_E2E_STATE/start.ms" 2>/dev/null
ms=$(tr -d '\r' <"$HZ_E2E_STATE/start.ms")
# Generous: the product's promise is the host's first look after 500 ms.
hz_check "the window exists within 3 s of the start (after ${ms:-never} ms)" hz_gt 3000 "$ms"
RENDERER=$(hz_running 'RendererFrame.Hazumaki\.dll')
sleep 1
hz_note "peak memory with all 513 textures: $(awk '/VmHWM/ {print $2, $3}' "/proc/$RENDERER/status" 2>/dev/null)"
hz_screenshot renderer_frame >/dev/null
hz_check "the renderer runs with the host's pictures" running
hz_check "a close request (WM_CLOSE) ends it" ends_on close

cursor_is() { [ "$(hz_probe cursor)" = "$1" ]; }
start_renderer
sleep 1
hz_check "full screen hides the cursor" cursor_is 0
hz_check "Escape (WM_KEYDOWN VK_ESCAPE) ends it" ends_on escape
hz_check "and the cursor is shown again" cursor_is 1

start_renderer
hz_check "Alt+F4's close command (SC_CLOSE) ends it" ends_on 0x0112 0xF060

# --- what does not end it
start_renderer
xdotool mousemove 100 100 sleep 0.1 mousemove 600 400 sleep 0.1 mousemove 300 700 >/dev/null 2>&1
for m in "0x0200 0" "0x0201 1" "0x0202 0"; do hz_probe post Tovira_VC $m 0x00640064; done  # move, left down, up
sleep 1
hz_check "moving the mouse and clicking do not end it" running
hz_post Tovira_VC 0x0112 0xF140                  # SC_SCREENSAVE
hz_probe post Tovira_VC 0x0112 0xF170 2          # SC_MONITORPOWER, off
sleep 1
hz_check "the system's screensaver and monitor power-off requests do not end it" running
hz_check "nothing was reported" hz_no_box
hz_check "and Escape still ends it afterwards" ends_on escape

# --- missing and damaged pictures. Only the fade picture (Tovira01) goes through
#     the reader that says what is wrong, in a box captioned "Error"; once that is
#     answered the renderer runs on. The scrolling pictures fail quietly.
bmp_header() {  # WIDTH HEIGHT BITS: a 54-byte header with no pixels behind it
  python3 -c 'import struct,sys; w,h,b=map(int,sys.argv[1:]); sys.stdout.buffer.write(struct.pack("<2sIHHIIiiHHIIiiII", b"BM", 54, 0, 0, 54, 40, w, h, 1, b, 0, 0, 0, 0, 0, 0))' "$@"
}
damaged() {  # ROW: Tovira01, 02 and 03 as that row has them
  case $1 in
    missing) ;;
    empty)
      : >"$k/Tovira01.bmp"
      head -c 5000 "$res/Tovira02.bmp" >"$k/Tovira02.bmp"
      : >"$k/Tovira03.bmp" ;;
    unknown)  # a 108-byte header; 8 bits deep; 1024 x 1024 but 3000 bytes long
      printf 'BM\x3a\0\0\0\0\0\0\0\x36\0\0\0\x6c\0\0\0' >"$k/Tovira01.bmp"
      { bmp_header 256 256 8; head -c 66560 /dev/zero; } >"$k/Tovira02.bmp"
      { bmp_header 1024 1024 24; head -c 3000 /dev/zero; } >"$k/Tovira03.bmp" ;;
    truncated)  # text; a folder where a file belongs
      head -c 160000 "$res/Tovira02.bmp" >"$k/Tovira01.bmp"
      echo hello >"$k/Tovira02.bmp"
      mkdir "$k/Tovira03.bmp" ;;
    huge)
      bmp_header 65535 65535 24 >"$k/Tovira01.bmp"
      bmp_header 65535 65535 24 >"$k/Tovira02.bmp"
      head -c 100000 "$res/Tovira03.bmp" >"$k/Tovira03.bmp" ;;
    absurd)
      { bmp_header 2147483647 -2147483648 1; head -c 100 /dev/zero; } >"$k/Tovira01.bmp"
      { bmp_header 2147483647 -2147483648 24; head -c 100 /dev/zero; } >"$k/Tovira02.bmp"
      echo hello >"$k/Tovira03.bmp" ;;
  esac
}
runs_on() {  # ROW BOX-TEXT
  hz_reset_working_folder
  mkdir -p "$k"
  damaged "$1"
  start_renderer || return 1
  local text
  if [ -n "$2" ]; then
    text=$(hz_probe msgbox Error 15000 ok)
    [ "$text" = "$2" ] || { echo "    message was: '$text'"; return 1; }
  fi
  sleep 2
  running && hz_no_box && ends_on escape
}
while IFS='|' read -r row box <&3; do
  hz_check "$row pictures: ${box:-no message}, and it runs on" runs_on "$row" "$box"
  hz_end_everything
done 3<<'ROWS'
missing|
empty|Failed to open DIB file C:\k_arden\Tovira01.bmp.
unknown|Unknown DIB file format.
truncated|Image file conversion error.
huge|Image file conversion error.
absurd|Unknown DIB file format.
ROWS
