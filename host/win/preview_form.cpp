// The preview form: a borderless black child window laid over the control
// panel's preview area, showing the still picture.
#include <windows.h>

#include "forms.h"
#include "preview_geometry.h"
#include "resource.h"
#include "resources.h"
#include "win32_text.h"
#include "window.h"

namespace hz::win {
namespace {

// The control panel does not tell a preview when to go; the parent's end does.
constexpr UINT_PTR kParentCheck = 1;
constexpr UINT kParentCheckMs = 1000;

class PreviewForm final : public Window<PreviewForm> {
 public:
  static constexpr const wchar_t* kClassName = L"Hazumaki.Preview";

  void Show(HINSTANCE instance, std::int32_t parentHandle) {
    HWND parent = reinterpret_cast<HWND>(static_cast<INT_PTR>(parentHandle));
    RECT r{};
    GetWindowRect(parent, &r);
    const PreviewSize size = ComputePreviewSize(r.left, r.top, r.right, r.bottom);

    if (auto picture = LoadBitmapResource(instance, IDB_PREVIEW)) picture_ = std::move(*picture);
    if (!Register(instance, 0, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) ||
        !Create(instance, 0, Widen(kPreviewTitle).c_str(), WS_POPUP, 0, 0, 0, 0)) {
      PostQuitMessage(0);
      return;
    }
    SetWindowLongW(hwnd(), GWL_STYLE, GetWindowLongW(hwnd(), GWL_STYLE) | WS_CHILD);
    SetParent(hwnd(), parent);
    SetWindowPos(hwnd(), nullptr, 0, 0, size.widthPixels, size.heightPixels, SWP_NOZORDER | SWP_NOACTIVATE);
    parent_ = parent;
    SetTimer(hwnd(), kParentCheck, kParentCheckMs, nullptr);
    ShowWindow(hwnd(), SW_SHOWNA);
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_PAINT:
        Paint();
        return 0;
      case WM_TIMER:
        if (!IsWindow(parent_)) DestroyWindow(hwnd());
        return 0;
      case WM_DESTROY:
        // A destroyed preview ends its process, so previews never pile up.
        PostQuitMessage(0);
        return 0;
      default:
        return Default(msg, wp, lp);
    }
  }

 private:
  // Img_Prev fills the preview; a preview area of another size gets the picture scaled to it.
  void Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (picture_.width > 0) {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = picture_.width;
      info.bmiHeader.biHeight = picture_.height;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 24;
      info.bmiHeader.biCompression = BI_RGB;
      SetStretchBltMode(dc, HALFTONE);
      StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, picture_.width, picture_.height,
                    picture_.rows.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    EndPaint(hwnd(), &ps);
  }

  HWND parent_ = nullptr;
  Bitmap24 picture_;
};

PreviewForm g_preview;

}  // namespace

void ShowPreviewForm(HINSTANCE instance, std::int32_t parent) { g_preview.Show(instance, parent); }

}  // namespace hz::win
