// The session form: a hidden window, found by its title while a session
// runs, whose timers drive the music and the watch on the renderer.
#include <windows.h>

#include "forms.h"
#include "music_win32.h"
#include "resource.h"
#include "resources.h"
#include "session.h"
#include "win32_text.h"
#include "window.h"

namespace hz::win {
namespace {

constexpr int kPictureIds[] = {IDB_TOVIRA01, IDB_TOVIRA02, IDB_TOVIRA03};

class SessionForm final : public Window<SessionForm>, public SessionPlatform {
 public:
  static constexpr const wchar_t* kClassName = L"Hazumaki.Session";

  SessionForm(HINSTANCE instance, HostState& host)
      : instance_(instance), music_(device_, host.music), session_(*this, music_, host) {}

  void Load() {
    // Start-up's single-instance test looks for this title: it exists before anything else happens.
    if (!Register(instance_) || !Create(instance_, 0, Widen(kSessionTitle).c_str(), WS_POPUP, 0, 0, 0, 0))
      ExitProcess(0);
    session_.Load();
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_TIMER:
        if (wp == Id(SessionTimer::Timer1)) session_.Timer1();
        if (wp == Id(SessionTimer::Timer2)) session_.Timer2();
        if (wp == Id(SessionTimer::Timer3)) session_.Timer3();
        return 0;
      case WM_QUERYENDSESSION:
        return TRUE;
      case WM_ENDSESSION:
        // Log-off or shutdown: the music must not outlive the user's session.
        if (wp) session_.CloseRequest();
        return 0;
      case WM_CLOSE:
        session_.CloseRequest();
        return 0;
      default:
        return Default(msg, wp, lp);
    }
  }

  // SessionPlatform
  std::optional<Bitmap24> Picture(int index) override {
    if (index < 0 || index >= 3) return std::nullopt;
    return LoadBitmapResource(instance_, kPictureIds[index]);
  }

  bool StartRenderer(const std::string& path) override {
    // The path is the program to run, so a folder with blanks cannot start
    // another program, and the ".dll" name never goes through the shell.
    std::wstring application = Widen(path);  // UTF-8, built from the program folder
    std::wstring commandLine = application;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
      return false;
    CloseHandle(pi.hThread);
    renderer_ = pi.hProcess;
    return true;
  }

  bool RendererRunning() override { return renderer_ && WaitForSingleObject(renderer_, 0) == WAIT_TIMEOUT; }

  bool WindowExists(const char* title) override { return FindWindowA(nullptr, title) != nullptr; }
  std::uint32_t TickCount() override { return GetTickCount(); }

  void EnableTimer(SessionTimer timer, bool enabled) override {
    if (enabled)
      SetTimer(hwnd(), Id(timer), TimerInterval(timer), nullptr);
    else
      KillTimer(hwnd(), Id(timer));
  }

  std::int32_t ShowCursor(bool show) override { return ::ShowCursor(show ? TRUE : FALSE); }
  void EndProcess() override { ExitProcess(0); }

 private:
  static UINT_PTR Id(SessionTimer t) { return static_cast<UINT_PTR>(t) + 1; }

  HINSTANCE instance_;
  Win32MusicDevice device_;
  Tovira_BGM music_;
  Tovira_S session_;
  HANDLE renderer_ = nullptr;
};

}  // namespace

void LoadSessionForm(HINSTANCE instance, HostState& host) {
  static SessionForm form(instance, host);
  form.Load();
}

}  // namespace hz::win
