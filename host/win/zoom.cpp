#include "zoom.h"

namespace hz::win {
namespace {
RECT CursorPoint(const HostState& host) { return RECT{host.Cursor_X, host.Cursor_Y, host.Cursor_X, host.Cursor_Y}; }
}  // namespace

void Zoom_Open(HWND window, const HostState& host) {
  const RECT from = CursorPoint(host);
  RECT to{};
  GetWindowRect(window, &to);
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

void Zoom_Close(HWND window, const HostState& host) {
  RECT from{};
  GetWindowRect(window, &from);
  const RECT to = CursorPoint(host);
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

}  // namespace hz::win
