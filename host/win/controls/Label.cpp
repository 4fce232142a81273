#include "Label.h"

#include <algorithm>

#include "kept_image.h"

namespace hz::win {

Label::~Label() {
  if (hwnd()) DestroyWindow(hwnd());
}

bool Label::Place(HINSTANCE instance, HWND parent, const RECT& bounds, const std::wstring& text,
                  const Look& look) {
  if (!Register(instance)) return false;
  look_ = look;
  designWidth_ = bounds.right - bounds.left;
  if (!Create(instance, 0, text.c_str(), WS_CHILD | WS_VISIBLE, bounds.left, bounds.top, designWidth_,
              bounds.bottom - bounds.top, parent))
    return false;
  FitWidth();
  return true;
}

void Label::Move(const RECT& bounds, HFONT font, HCURSOR cursor) {
  look_.font = font;
  if (cursor) look_.cursor = cursor;
  designWidth_ = bounds.right - bounds.left;
  MoveWindowTo(hwnd(), bounds);
  FitWidth();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void Label::SetText(const std::wstring& text) {
  SetWindowTextW(hwnd(), text.c_str());
  FitWidth();
}

void Label::FitWidth() {
  if (!look_.growToFit || look_.centred) return;
  wchar_t buffer[1024] = {};
  const int n = GetWindowTextW(hwnd(), buffer, 1024);
  HDC dc = GetDC(hwnd());
  HGDIOBJ old = SelectObject(dc, look_.font ? look_.font : GetStockObject(DEFAULT_GUI_FONT));
  RECT need{0, 0, 0, 0};
  DrawTextW(dc, buffer, n, &need, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);

  RECT mine{};
  GetWindowRect(hwnd(), &mine);
  HWND parent = GetParent(hwnd());
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&mine), 2);
  RECT room{};
  GetClientRect(parent, &room);
  int width = designWidth_;
  if (need.right > width) width = std::min<int>(need.right, room.right - mine.left);
  width = std::max(width, designWidth_);
  SetWindowPos(hwnd(), nullptr, 0, 0, width, mine.bottom - mine.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::SetPicture(HBITMAP picture, COLORREF key, int size) {
  picture_ = picture;
  key_ = key;
  pictureSize_ = size;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  using controls::MouseButton;
  LRESULT painted = 0;
  if (HandlePaintMessages(hwnd(), msg, wp, painted, [this](HDC dc) { Paint(dc); })) return painted;
  switch (msg) {
    case WM_SETTEXT: {
      const LRESULT result = Default(msg, wp, lp);
      InvalidateRect(hwnd(), nullptr, FALSE);
      return result;
    }
    case WM_SETCURSOR:
      if (look_.cursor && LOWORD(lp) == HTCLIENT) {
        SetCursor(look_.cursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      leftPressed_ = true;
      SetCapture(hwnd());
      Press(MouseButton::Left);
      return 0;
    case WM_RBUTTONDOWN:
      Press(MouseButton::Right);
      return 0;
    case WM_MBUTTONDOWN:
      Press(MouseButton::Middle);
      return 0;
    case WM_LBUTTONUP: {
      if (!leftPressed_) return 0;
      leftPressed_ = false;
      if (GetCapture() == hwnd()) ReleaseCapture();
      RECT r{};
      GetClientRect(hwnd(), &r);
      const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (PtInRect(&r, p) && onClick) onClick();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd()) leftPressed_ = false;
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

void Label::Press(controls::MouseButton button) {
  if (onPress) onPress(button);
}

void Label::Paint(HDC target) {
  RECT r{};
  GetClientRect(hwnd(), &r);
  if (r.right <= 0 || r.bottom <= 0) return;
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, r.right, r.bottom);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  PaintParentBackground(hwnd(), dc);

  RECT text = r;
  if (look_.border) {
    HBRUSH frame = CreateSolidBrush(RGB(0, 0, 0));
    FrameRect(dc, &r, frame);
    DeleteObject(frame);
    InflateRect(&text, -2, -2);
  }
  if (picture_) {
    BITMAP info{};
    GetObjectW(picture_, sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture_);
    // Pictures drawn for the nearest larger scale shrink to the size the screen needs.
    TransparentBlt(dc, 0, 0, pictureSize_, pictureSize_, source, 0, 0, info.bmWidth, info.bmHeight, key_);
    SelectObject(source, old);
    DeleteDC(source);
  } else {
    wchar_t buffer[1024] = {};
    const int n = GetWindowTextW(hwnd(), buffer, 1024);
    HGDIOBJ oldFont = SelectObject(dc, look_.font ? look_.font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, look_.colour);
    // Long paths break anywhere, not only at blanks, to stay inside the box.
    const UINT lines = look_.growToFit ? DT_SINGLELINE : DT_WORDBREAK | DT_EDITCONTROL;
    DrawTextW(dc, buffer, n, &text, (look_.centred ? DT_CENTER : DT_LEFT) | DT_TOP | lines | DT_NOPREFIX);
    SelectObject(dc, oldFont);
  }
  BitBlt(target, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace hz::win
