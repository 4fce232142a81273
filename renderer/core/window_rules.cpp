#include "window_rules.h"

#include <algorithm>

namespace hz {
namespace {

unsigned Low16(std::uintptr_t v) { return static_cast<unsigned>(v & 0xFFFF); }
unsigned High16(std::uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }

}  // namespace

MessageOutcome HandleFrameMessage(FrameState& state, unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  MessageOutcome out;
  out.action = MessageAction::kHandled;
  switch (message) {
    case kWmSize:
      out.action = MessageAction::kResize;
      out.width = static_cast<int>(Low16(static_cast<std::uintptr_t>(lParam)));
      out.height = static_cast<int>(High16(static_cast<std::uintptr_t>(lParam)));
      break;
    case kWmActivate:
      state.Active = High16(wParam) == 0;
      break;
    case kWmClose:
      out.action = MessageAction::kQuit;
      break;
    case kWmKeyDown:
      if (wParam < 256) state.Keys[wParam] = true;
      break;
    case kWmKeyUp:
      if (wParam < 256) state.Keys[wParam] = false;
      break;
    case kWmSysCommand: {
      // The low four bits of a system command are the system's own.
      const std::uintptr_t command = wParam & 0xFFF0;
      if (command != kScScreenSave && command != kScMonitorPower) out.action = MessageAction::kDefault;
      break;
    }
    case kWmDisplayChange:
      out.action = MessageAction::kLayoutChanged;
      break;
    default:
      out.action = MessageAction::kDefault;
      break;
  }
  return out;
}

IdleAction OnIdle(const FrameState& state) {
  if (!state.Active) return IdleAction::kWait;
  return state.Keys[kVkEscape] ? IdleAction::kLeave : IdleAction::kDraw;
}

int RunFrameLoop(MessagePump& pump, const FrameState& state) {
  QueuedMessage last;
  for (;;) {
    QueuedMessage message;
    if (pump.Peek(&message)) {
      last = message;
      if (message.message == kWmQuit) break;
      pump.Dispatch();
      continue;
    }
    const IdleAction action = OnIdle(state);
    if (action == IdleAction::kLeave) break;
    if (action == IdleAction::kDraw) pump.DrawAndSwap();
  }
  return static_cast<int>(last.wParam);
}

std::vector<ScreenRect> MonitorsToCover(const std::vector<ScreenRect>& monitors, const ScreenRect& window) {
  std::vector<ScreenRect> covers;
  for (const ScreenRect& m : monitors) {
    const bool empty = m.right <= m.left || m.bottom <= m.top;
    const bool reached =
        m.left < window.right && window.left < m.right && m.top < window.bottom && window.top < m.bottom;
    if (!empty && !reached && std::find(covers.begin(), covers.end(), m) == covers.end()) covers.push_back(m);
  }
  return covers;
}

void CoverOtherMonitors(RenderWindowPlatform& platform, const FrameState& state) {
  if (state.FullScreen)
    platform.ShowCovers(MonitorsToCover(platform.MonitorRects(), platform.RenderWindowRect()));
}

bool OpenRenderWindow(RenderWindowPlatform& platform, FrameState& state, const char* title, int width,
                      int height, int bits, bool fullScreen) {
  state.FullScreen = fullScreen;
  if (!platform.RegisterWindowClass()) return false;
  if (state.FullScreen && !platform.ChangeDisplayMode(width, height, bits)) {
    if (!platform.AskForWindowedMode()) return false;
    state.FullScreen = false;
  }
  if (state.FullScreen) platform.SetCursorVisible(false);
  const bool made = platform.CreateRenderWindow(title, width, height, state.FullScreen);
  // As soon as the window lies where it will: making the context can take a while.
  if (made) CoverOtherMonitors(platform, state);
  if (!made || !platform.CreateRenderContext(bits)) {
    CloseRenderWindow(platform, state);
    return false;
  }
  platform.ShowRenderWindow();
  platform.ResizeView(width, height);
  if (!platform.InitGraphics()) {
    CloseRenderWindow(platform, state);
    return false;
  }
  return true;
}

void CloseRenderWindow(RenderWindowPlatform& platform, FrameState& state) {
  if (state.FullScreen) {
    // Cleared first: the way back announces a layout change, and nothing is to be covered any more.
    state.FullScreen = false;
    platform.RestoreDisplayMode();
    platform.SetCursorVisible(true);
  }
  platform.DeleteRenderContext();
  platform.ReleaseDeviceContext();
  platform.ShowCovers({});
  platform.DestroyRenderWindow();
  platform.UnregisterWindowClass();
}

}  // namespace hz
