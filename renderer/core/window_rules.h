// The frame's window rules, free of the window system: what each message
// does, what an idle pass does, the message loop, and the order in which the
// window, the display mode and the context are made and undone. The Win32
// frame supplies the steps; the tests supply fakes.
#pragma once

#include <cstdint>
#include <vector>

namespace hz {

// The renderer window's title: the host watches for it, so the window exists
// under it before anything slow happens.
inline constexpr char kWindowTitle[] = "Tovira_VC";

// Window-system numbers the rules act on (the Win32 values).
inline constexpr unsigned kWmSize = 0x0005;
inline constexpr unsigned kWmActivate = 0x0006;
inline constexpr unsigned kWmClose = 0x0010;
inline constexpr unsigned kWmQuit = 0x0012;
inline constexpr unsigned kWmKeyDown = 0x0100;
inline constexpr unsigned kWmKeyUp = 0x0101;
inline constexpr unsigned kWmSysCommand = 0x0112;
inline constexpr unsigned kWmDisplayChange = 0x007E;
inline constexpr std::uintptr_t kScScreenSave = 0xF140;
inline constexpr std::uintptr_t kScMonitorPower = 0xF170;
inline constexpr std::uintptr_t kVkEscape = 0x1B;

struct FrameState {
  bool FullScreen = false;  // the display mode is switched for the window
  bool Active = true;       // false while the window is minimized: no frames then
  bool Keys[256] = {};      // by virtual-key code, true between key-down and key-up
};

enum class MessageAction {
  kDefault,        // the window system's default handling
  kHandled,        // done; the result is 0
  kResize,         // ResizeView(width, height); the result is 0
  kQuit,           // post the quit message; the result is 0
  kLayoutChanged,  // CoverOtherMonitors again; the result is 0
};

struct MessageOutcome {
  MessageAction action = MessageAction::kDefault;
  int width = 0;
  int height = 0;
};

// The window procedure's decision for one message; updates Active and Keys.
MessageOutcome HandleFrameMessage(FrameState& state, unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam);

enum class IdleAction { kDraw, kWait, kLeave };

// An empty queue: draw while active, leave on a held Escape, and only poll
// while minimized (Escape then waits for the window to come back).
IdleAction OnIdle(const FrameState& state);

struct QueuedMessage {
  unsigned message = 0;
  std::uintptr_t wParam = 0;
};

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual bool Peek(QueuedMessage* message) = 0;  // takes one message off the queue, without waiting
  virtual void Dispatch() = 0;                    // translates and dispatches the message just taken
  virtual void DrawAndSwap() = 0;                 // DrawFrame and the buffer swap
};

// Polls and draws until the quit message or an Escape seen on an idle pass;
// returns the last message's wParam.
int RunFrameLoop(MessagePump& pump, const FrameState& state);

// A rectangle of the virtual screen; right and bottom lie just outside it.
struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const ScreenRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// The monitors to black out while the render window fills `window`: each one
// it does not reach, once (mirrored monitors share a rectangle), none without
// area. A monitor the window reaches is left to it, so no cover hides the scene.
std::vector<ScreenRect> MonitorsToCover(const std::vector<ScreenRect>& monitors, const ScreenRect& window);

// The steps of opening and closing the window. Each undo step does nothing
// when its object was never made.
class RenderWindowPlatform {
 public:
  virtual ~RenderWindowPlatform() = default;
  virtual bool RegisterWindowClass() = 0;
  virtual bool ChangeDisplayMode(int width, int height, int bits) = 0;
  virtual bool AskForWindowedMode() = 0;  // the driver refused the mode: true on Yes
  virtual void SetCursorVisible(bool visible) = 0;
  virtual bool CreateRenderWindow(const char* title, int width, int height, bool fullScreen) = 0;
  virtual bool CreateRenderContext(int bits) = 0;      // device context, pixel format, context made current
  virtual void ShowRenderWindow() = 0;                 // shown, in front, with the focus
  virtual std::vector<ScreenRect> MonitorRects() = 0;  // as they lie now
  virtual ScreenRect RenderWindowRect() = 0;
  // Makes the black, never-focused windows over other monitors exactly these.
  virtual void ShowCovers(const std::vector<ScreenRect>& rects) = 0;
  virtual void ResizeView(int width, int height) = 0;
  virtual bool InitGraphics() = 0;
  virtual void RestoreDisplayMode() = 0;
  virtual void DeleteRenderContext() = 0;
  virtual void ReleaseDeviceContext() = 0;
  virtual void DestroyRenderWindow() = 0;
  virtual void UnregisterWindowClass() = 0;
};

// Everything up to a current context with the scene started. Only the
// display-mode switch comes before the window, so the window's title exists
// before anything slow; the other monitors are covered right after it. On a
// failure after the switch, CloseRenderWindow undoes what was done; when the
// user declines a window in place of the refused mode, nothing is undone.
bool OpenRenderWindow(RenderWindowPlatform& platform, FrameState& state, const char* title, int width,
                      int height, int bits, bool fullScreen);

// In full screen, a black window of ours over every other monitor, so nothing
// private shows beside the scene and the hidden cursor stays hidden there.
// Called once the window exists and again whenever the layout changes.
void CoverOtherMonitors(RenderWindowPlatform& platform, const FrameState& state);

// Display mode and cursor back, then context, device context, covers,
// window, class.
void CloseRenderWindow(RenderWindowPlatform& platform, FrameState& state);

}  // namespace hz
