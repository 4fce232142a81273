// An off-screen picture that keeps what was drawn on a window, so covering
// and uncovering the window shows the same picture again.
#pragma once

#include <windows.h>

namespace hz::win {

class KeptImage {
 public:
  KeptImage() = default;
  KeptImage(const KeptImage&) = delete;
  KeptImage& operator=(const KeptImage&) = delete;
  ~KeptImage() { Release(); }

  // A new picture of the given size, filled with `fill`; false when GDI refused.
  bool Resize(int width, int height, COLORREF fill) {
    Release();
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (!dc_ || !bitmap_) {
      Release();
      return false;
    }
    old_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    Fill(fill);
    return true;
  }

  void Fill(COLORREF colour) {
    if (!dc_) return;
    const RECT r{0, 0, width_, height_};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc_, &r, brush);
    DeleteObject(brush);
  }

  // Copies the picture to `target` at its origin (clipped to the picture).
  void CopyTo(HDC target) const {
    if (dc_) BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
  }

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  void Release() {
    if (dc_ && old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    old_ = nullptr;
    width_ = height_ = 0;
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Fills `target` (a DC for `child`) with what the parent shows behind the
// child, taken from the parent's kept picture through WM_PRINTCLIENT.
inline void PaintParentBackground(HWND child, HDC target) {
  HWND parent = GetParent(child);
  if (!parent) return;
  POINT origin{0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  POINT previous{};
  SetViewportOrgEx(target, -origin.x, -origin.y, &previous);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT);
  SetViewportOrgEx(target, previous.x, previous.y, nullptr);
}

}  // namespace hz::win
