// Session: the hidden window titled "Tovira_Main" that carries a screensaver run.
#include "forms.h"
#include "window.h"

namespace hz::win {
namespace {

class SessionForm final : public Window<SessionForm> {
 public:
  static constexpr const wchar_t* kClassName = L"Hazumaki.Session";

  bool Load(HINSTANCE instance, HostState& host) {
    host_ = &host;
    if (!Register(instance)) return false;
    return Create(instance, 0, L"Tovira_Main", WS_POPUP, 0, 0, 0, 0) != nullptr;
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE || msg == WM_ENDSESSION) {
      if (host_->Cursor_Count) host_->Cursor_Count = ShowCursor(*host_->Cursor_Count != 0);
      ExitProcess(0);
    }
    return Default(msg, wp, lp);
  }

 private:
  HostState* host_ = nullptr;
};

SessionForm g_session;

}  // namespace

void LoadSessionForm(HINSTANCE instance, HostState& host) {
  if (!g_session.Load(instance, host)) ExitProcess(0);
}

}  // namespace hz::win
