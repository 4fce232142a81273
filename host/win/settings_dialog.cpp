// Settings: a modal window titled "<Hazumaki>" that closes without saving.
#include "forms.h"
#include "window.h"

namespace hz::win {
namespace {

class SettingsDialog final : public Window<SettingsDialog> {
 public:
  static constexpr const wchar_t* kClassName = L"Hazumaki.Settings";

  void RunModal(HINSTANCE instance) {
    if (!Register(instance, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return;
    RECT r{0, 0, 496, 243};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
    AdjustWindowRect(&r, style, FALSE);
    if (!Create(instance, 0, L"<Hazumaki>", style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                r.bottom - r.top))
      return;
    ShowWindow(hwnd(), SW_SHOW);
    MSG msg;
    while (hwnd() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }
};

}  // namespace

void ShowSettingsDialog(HINSTANCE instance, HostState&) {
  SettingsDialog dialog;
  dialog.RunModal(instance);
}

}  // namespace hz::win
