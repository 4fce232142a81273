// Entry of Hazumaki.dll: the full-screen Win32 window with its WGL context,
// the window procedure and the message loop, bound to the window rules.
#include <windows.h>

#include <vector>

#include "dib.h"
#include "extensions.h"
#include "gl_setup.h"
#include "window_rules.h"

static_assert(hz::kWmSize == WM_SIZE && hz::kWmActivate == WM_ACTIVATE && hz::kWmClose == WM_CLOSE &&
                  hz::kWmQuit == WM_QUIT && hz::kWmKeyDown == WM_KEYDOWN && hz::kWmKeyUp == WM_KEYUP &&
                  hz::kWmSysCommand == WM_SYSCOMMAND && hz::kWmDisplayChange == WM_DISPLAYCHANGE,
              "window messages");
static_assert(hz::kScScreenSave == SC_SCREENSAVE && hz::kScMonitorPower == SC_MONITORPOWER &&
                  hz::kVkEscape == VK_ESCAPE,
              "system commands and keys");

namespace hz::win {
namespace {

constexpr char kClassName[] = "OpenGL";
constexpr char kCoverClassName[] = "HazumakiCover";
// The size of the display-mode record up to its colour-management fields.
constexpr WORD kDevModeSize = 148;

FrameState g_frame;
RenderWindowPlatform* g_platform = nullptr;

class RenderWindow final : public RenderWindowPlatform {
 public:
  RenderWindow() { g_platform = this; }
  ~RenderWindow() override { g_platform = nullptr; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const MessageOutcome outcome =
        HandleFrameMessage(g_frame, msg, static_cast<std::uintptr_t>(wp), static_cast<std::intptr_t>(lp));
    switch (outcome.action) {
      case MessageAction::kResize:
        ::ResizeView(outcome.width, outcome.height);
        return 0;
      case MessageAction::kQuit:
        PostQuitMessage(0);
        return 0;
      case MessageAction::kLayoutChanged:
        if (g_platform) CoverOtherMonitors(*g_platform, g_frame);
        return 0;
      case MessageAction::kHandled:
        return 0;
      case MessageAction::kDefault:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }

  // The covers never take the focus, so keys, Escape above all, stay with
  // the render window even after a click on another monitor.
  static LRESULT CALLBACK CoverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
      case WM_CLOSE:  // a cover closed alone would bare its monitor: end the saver as the window does
        PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
  }

  HDC dc() const { return dc_; }

  bool RegisterWindowClass() override {
    instance_ = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = &RenderWindow::WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32517));      // IDI_WINLOGO
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return false;
    // Without this class the saver runs, only without covers.
    WNDCLASSA cover{};
    cover.lpfnWndProc = &RenderWindow::CoverProc;
    cover.hInstance = instance_;
    cover.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cover.lpszClassName = kCoverClassName;
    RegisterClassA(&cover);
    return true;
  }

  bool ChangeDisplayMode(int width, int height, int bits) override {
    DEVMODEA mode{};
    mode.dmSize = kDevModeSize;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(bits);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
  }

  bool AskForWindowedMode() override {
    // The text and its "Quib GL" caption are fixed: users and tests know the box by them.
    return MessageBoxA(nullptr,
                       "The requested fullscreen mode is not supported by\nyour video card. Use windowed "
                       "mode instead?",
                       "Quib GL", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
  }

  void SetCursorVisible(bool visible) override { ShowCursor(visible ? TRUE : FALSE); }

  bool CreateRenderWindow(const char* title, int width, int height, bool fullScreen) override {
    RECT rect{0, 0, width, height};
    const DWORD exStyle = fullScreen ? WS_EX_APPWINDOW : WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    const DWORD style = fullScreen ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    // "OpenGl" names the class registered as "OpenGL": class names are
    // matched without regard to case.
    window_ =
        CreateWindowExA(exStyle, "OpenGl", title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance_, nullptr);
    return window_ != nullptr;
  }

  bool CreateRenderContext(int bits) override {
    dc_ = GetDC(window_);
    if (!dc_) return false;
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(bits);
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(dc_, &pfd);
    if (format == 0 || !SetPixelFormat(dc_, format, &pfd)) return false;
    context_ = wglCreateContext(dc_);
    return context_ && wglMakeCurrent(dc_, context_);
  }

  void ShowRenderWindow() override {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(window_);
  }

  std::vector<ScreenRect> MonitorRects() override {
    std::vector<ScreenRect> rects;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, RECT*, LPARAM list) -> BOOL {
          MONITORINFO info{};
          info.cbSize = sizeof info;
          if (GetMonitorInfoA(monitor, &info)) {
            const RECT& r = info.rcMonitor;
            reinterpret_cast<std::vector<ScreenRect>*>(list)->push_back({r.left, r.top, r.right, r.bottom});
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&rects));
    return rects;
  }

  ScreenRect RenderWindowRect() override {
    RECT r{};
    GetWindowRect(window_, &r);
    return {r.left, r.top, r.right, r.bottom};
  }

  // Existing covers are moved rather than made anew, so a layout change does not flash the desktop.
  void ShowCovers(const std::vector<ScreenRect>& rects) override {
    std::size_t kept = 0;
    for (const ScreenRect& r : rects) {
      HWND cover = kept < covers_.size()
                       ? covers_[kept]
                       : CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClassName,
                                         "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                         nullptr, nullptr, instance_, nullptr);
      if (!cover) continue;  // that monitor stays bare; the saver runs on
      if (kept == covers_.size()) covers_.push_back(cover);
      ++kept;
      SetWindowPos(cover, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
      UpdateWindow(cover);  // black now: the loop paints only once the textures are in
    }
    for (; covers_.size() > kept; covers_.pop_back()) DestroyWindow(covers_.back());
  }

  void ResizeView(int width, int height) override { ::ResizeView(width, height); }
  bool InitGraphics() override { return ::InitGraphics(); }

  void RestoreDisplayMode() override { ChangeDisplaySettingsA(nullptr, 0); }

  void DeleteRenderContext() override {
    if (!context_) return;
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context_);
    context_ = nullptr;
  }

  void ReleaseDeviceContext() override {
    if (dc_) ReleaseDC(window_, dc_);
    dc_ = nullptr;
  }

  void DestroyRenderWindow() override {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }

  void UnregisterWindowClass() override {
    if (instance_) {
      UnregisterClassA(kClassName, instance_);
      UnregisterClassA(kCoverClassName, instance_);
    }
    instance_ = nullptr;
  }

 private:
  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  std::vector<HWND> covers_;
  HDC dc_ = nullptr;
  HGLRC context_ = nullptr;
};

class Pump final : public MessagePump {
 public:
  explicit Pump(HDC dc) : dc_(dc) {}

  bool Peek(QueuedMessage* message) override {
    if (!PeekMessageA(&msg_, nullptr, 0, 0, PM_REMOVE)) return false;
    message->message = msg_.message;
    message->wParam = msg_.wParam;
    return true;
  }
  void Dispatch() override {
    TranslateMessage(&msg_);
    DispatchMessageA(&msg_);
  }
  void DrawAndSwap() override {
    DrawFrame();
    SwapBuffers(dc_);
  }

 private:
  HDC dc_;
  MSG msg_{};
};

void ShowDibMessageBox(const char* text) { MessageBoxA(GetFocus(), text, "Error", MB_OK); }

// Some drivers answer unknown names with small non-null values.
void* WglLookup(const char* name) {
  const PROC proc = wglGetProcAddress(name);
  const auto value = reinterpret_cast<std::intptr_t>(proc);
  if (value >= -1 && value <= 3) return nullptr;
  return reinterpret_cast<void*>(value);
}

}  // namespace
}  // namespace hz::win

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace hz::win;
  SetEntryPointLookup(&WglLookup);
  hz::SetDibMessageHandler(&ShowDibMessageBox);
  RenderWindow window;
  if (!hz::OpenRenderWindow(window, g_frame, hz::kWindowTitle, 1024, 768, 32, true)) return 0;
  Pump pump(window.dc());
  const int code = hz::RunFrameLoop(pump, g_frame);
  hz::CloseRenderWindow(window, g_frame);
  return code;
}
