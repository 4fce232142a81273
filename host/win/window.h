// A top-level or child window as a C++ object: `this` lives in GWLP_USERDATA
// and every message goes to the derived class's HandleMessage.
#pragma once

#include <windows.h>

namespace hz::win {

// Places a window on the rectangle, leaving its Z order and activation alone.
inline void MoveWindowTo(HWND window, const RECT& r) {
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

template <typename Derived>
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() = default;

  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class on first use; the class name is Derived::kClassName.
  static bool Register(HINSTANCE instance, UINT style = 0, HBRUSH background = nullptr, HICON icon = nullptr,
                       HCURSOR cursor = nullptr) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(instance, Derived::kClassName, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = background;
    wc.lpszClassName = Derived::kClassName;
    return RegisterClassExW(&wc) != 0;
  }

  HWND Create(HINSTANCE instance, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int w, int h,
              HWND parent = nullptr) {
    return CreateWindowExW(exStyle, Derived::kClassName, title, style, x, y, w, h, parent, nullptr, instance,
                           this);
  }

  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Derived* self = nullptr;
    if (msg == WM_NCCREATE) {
      self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    const LRESULT result = self->HandleMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

  HWND hwnd_ = nullptr;
};

// Answers the messages that ask a window to show itself (painting, printing,
// erasing, which `paint` covers whole) by calling `paint` with the device
// context to draw on; true when `msg` was one of them.
template <typename Paint>
bool HandlePaintMessages(HWND hwnd, UINT msg, WPARAM wp, LRESULT& result, Paint paint) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      paint(dc);
      EndPaint(hwnd, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wp));
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace hz::win
