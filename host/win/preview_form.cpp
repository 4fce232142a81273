// Preview: a borderless black child window laid over the control panel's
// preview area.
#include "forms.h"
#include "window.h"

namespace hz::win {
namespace {

class PreviewForm final : public Window<PreviewForm> {
 public:
  static constexpr const wchar_t* kClassName = L"Hazumaki.Preview";

  bool Open(HINSTANCE instance, HWND parent) {
    if (!Register(instance, 0, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)))) return false;
    RECT r{};
    GetWindowRect(parent, &r);
    if (!Create(instance, 0, L"Preview Window", WS_POPUP, 0, 0, 0, 0)) return false;
    SetWindowLongW(hwnd(), GWL_STYLE, GetWindowLongW(hwnd(), GWL_STYLE) | WS_CHILD);
    SetParent(hwnd(), parent);
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd(), SW_SHOWNA);
    return true;
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The parent's end takes the preview with it; so does the process.
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return Default(msg, wp, lp);
  }
};

PreviewForm g_preview;

}  // namespace

void ShowPreviewForm(HINSTANCE instance, std::int32_t parent) {
  if (!g_preview.Open(instance, reinterpret_cast<HWND>(static_cast<INT_PTR>(parent)))) PostQuitMessage(0);
}

}  // namespace hz::win
