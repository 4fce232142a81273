#include "Command.h"

#include <cmath>
#include <string>

#include "controls/command_face.h"
#include "dpi_scale.h"
#include "font.h"
#include "resource.h"
#include "win32_text.h"

namespace hz::win {
namespace {

constexpr UINT_PTR kLeaveTimer = 1;
constexpr unsigned kLeft = 1, kRight = 2, kMiddle = 4;

// The six face pictures at each scale, loaded once and shared by every button.
HBITMAP FacePicture(controls::Face face, int scaleIndex) {
  static std::array<std::array<HBITMAP, controls::kFaceCount>, kPictureScaleCount> pictures{};
  static const std::array<int, controls::kFaceCount> ids{IDB_FACE_NORMAL,          IDB_FACE_HIGHLIGHT,
                                                         IDB_FACE_HIGHLIGHTSELECT, IDB_FACE_SELECTED,
                                                         IDB_FACE_PRESSED,         IDB_FACE_DISABLE};
  const auto i = static_cast<std::size_t>(face);
  HBITMAP& picture = pictures[static_cast<std::size_t>(scaleIndex)][i];
  if (!picture)
    picture = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                              MAKEINTRESOURCEW(ids[i] + scaleIndex * IDB_SCALE_STEP),
                                              IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  return picture;
}

TRIVERTEX ToTriVertex(const controls::GradientVertex& v) {
  TRIVERTEX t{};
  t.x = v.x;
  t.y = v.y;
  t.Red = v.colour.red;
  t.Green = v.colour.green;
  t.Blue = v.colour.blue;
  t.Alpha = v.colour.alpha;
  return t;
}

}  // namespace

Command::~Command() {
  if (hwnd()) DestroyWindow(hwnd());
  if (font_) DeleteObject(font_);
}

bool Command::Place(HINSTANCE instance, HWND parent, int id, const RECT& bounds,
                    const controls::PropertyBag& stored, const controls::FontDescription& ambientFont) {
  if (!Register(instance)) return false;
  stored_ = &stored;
  ambientFont_ = ambientFont;
  id_ = id;
  HWND w = Create(instance, 0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, bounds.left, bounds.top,
                  bounds.right - bounds.left, bounds.bottom - bounds.top, parent);
  if (!w) return false;
  SetWindowLongPtrW(w, GWLP_ID, id);
  return true;
}

void Command::Move(const RECT& bounds, int dpi) {
  dpi_ = UsableDpi(dpi);
  RecreateFont();
  RECT before{};
  GetClientRect(hwnd(), &before);
  MoveWindowTo(hwnd(), bounds);
  // A new size redraws the face through WM_SIZE; the same size at another density must too.
  if (before.right == bounds.right - bounds.left && before.bottom == bounds.bottom - bounds.top)
    button_.Resize();
}

LRESULT Command::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  using controls::MouseButton;
  LRESULT painted = 0;
  if (HandlePaintMessages(hwnd(), msg, wp, painted, [this](HDC dc) { Paint(dc); })) return painted;
  switch (msg) {
    case WM_CREATE: {
      RECT r{};
      GetClientRect(hwnd(), &r);
      face_.Resize(r.right, r.bottom, GetSysColor(COLOR_BTNFACE));
      if (stored_) button_.ReadProperties(*stored_, ambientFont_);
      RecreateFont();
      SetWindowTextW(hwnd(), Widen(button_.Caption()).c_str());
      SyncWindowEnabled();
      return 0;
    }
    case WM_SIZE:
      face_.Resize(LOWORD(lp), HIWORD(lp), GetSysColor(COLOR_BTNFACE));
      button_.Resize();
      SyncWindowEnabled();
      return 0;
    case WM_MOUSEMOVE: {
      // Under capture moves arrive from anywhere; only those over the button count.
      RECT r{};
      GetClientRect(hwnd(), &r);
      const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (PtInRect(&r, p)) button_.MouseMove();
      return 0;
    }
    case WM_LBUTTONDOWN:
      ButtonDown(MouseButton::Left, kLeft);
      // The press shows before focus arrives, as the click sequence expects.
      if (button_.IsEnabled() && GetFocus() != hwnd()) SetFocus(hwnd());
      return 0;
    case WM_RBUTTONDOWN:
      ButtonDown(MouseButton::Right, kRight);
      return 0;
    case WM_MBUTTONDOWN:
      ButtonDown(MouseButton::Middle, kMiddle);
      return 0;
    case WM_LBUTTONUP:
      ButtonUp(MouseButton::Left, kLeft, wp);
      return 0;
    case WM_RBUTTONUP:
      ButtonUp(MouseButton::Right, kRight, wp);
      return 0;
    case WM_MBUTTONUP:
      ButtonUp(MouseButton::Middle, kMiddle, wp);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd()) pressed_ = 0;
      return 0;
    case WM_SETFOCUS:
      button_.GotFocus();
      return 0;
    case WM_KILLFOCUS:
      button_.LostFocus();
      return 0;
    case WM_TIMER:
      if (wp == kLeaveTimer) {
        POINT p{};
        if (GetCursorPos(&p)) button_.PollPointer(WindowFromPoint(p) == hwnd());
        return 0;
      }
      break;
    case WM_DESTROY:
      KillTimer(hwnd(), kLeaveTimer);
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

void Command::ButtonDown(controls::MouseButton button, unsigned bit) {
  if (!pressed_) SetCapture(hwnd());
  pressed_ |= bit;
  button_.MouseDown(button);
}

void Command::ButtonUp(controls::MouseButton button, unsigned bit, WPARAM keys) {
  // A release counts only when its press was on this button.
  if (!(pressed_ & bit)) return;
  pressed_ &= ~bit;
  if (!(keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) || !pressed_) {
    pressed_ = 0;
    if (GetCapture() == hwnd()) ReleaseCapture();
  }
  button_.MouseUp(button);
}

void Command::DrawFace(controls::Face face, bool hoverGradient) {
  HDC dc = face_.dc();
  if (!dc) return;
  const int w = face_.width();
  const int h = face_.height();
  const controls::NineSlice slices =
      controls::ComputeNineSlice(controls::PixelsToTwips(w, dpi_), controls::PixelsToTwips(h, dpi_));
  // The picture drawn for the nearest larger scale; its bands are read at its own density.
  const int scale = PictureScaleIndex(dpi_);

  face_.Fill(GetSysColor(COLOR_BTNFACE));

  const controls::GradientMesh mesh = controls::FillGradientMesh(hoverGradient, w, h);
  TRIVERTEX vertices[4];
  for (std::size_t i = 0; i < 4; ++i) vertices[i] = ToTriVertex(mesh.vertices[i]);
  GRADIENT_RECT rect{mesh.first, mesh.second};
  GradientFill(dc, vertices, 4, &rect, 1, GRADIENT_FILL_RECT_V);

  if (HBITMAP picture = FacePicture(face, scale)) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (int i = 0; i < controls::kBorderPieces; ++i) {
      const auto& piece = slices.pieces[static_cast<std::size_t>(i)];
      const controls::PixelRect d = controls::ToPixels(piece.destination, dpi_);
      const controls::PixelRect s = controls::ToPixels(piece.source, PictureDpi(scale));
      // A button narrower or lower than its two corners has no edge pieces.
      if (d.width <= 0 || d.height <= 0 || s.width <= 0 || s.height <= 0) continue;
      StretchBlt(dc, d.x, d.y, d.width, d.height, source, s.x, s.y, s.width, s.height, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
  }
  SyncWindowEnabled();
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

void Command::PropertyChanged(std::string_view name) {
  if (name == "Caption") SetWindowTextW(hwnd(), Widen(button_.Caption()).c_str());
  if (name == "Font") RecreateFont();
  if (name == "Enabled") SyncWindowEnabled();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void Command::StartLeavePolling(unsigned intervalMilliseconds) {
  SetTimer(hwnd(), kLeaveTimer, intervalMilliseconds, nullptr);
}

void Command::Click() {
  SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd()));
}

void Command::Paint(HDC target) {
  RECT r{};
  GetClientRect(hwnd(), &r);
  if (r.right <= 0 || r.bottom <= 0) return;
  // Composed off screen so the caption never flickers over the face.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, r.right, r.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  if (button_.Opaque()) {
    face_.CopyTo(dc);
  } else {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    PaintParentBackground(hwnd(), dc);
  }
  DrawCaption(dc);
  BitBlt(target, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

void Command::DrawCaption(HDC dc) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const double twipsPerPixel = TwipsPerPixel(dpi_);
  const double topTwips = controls::CaptionTop(controls::PixelsToTwips(client.bottom, dpi_));
  const int top = static_cast<int>(topTwips / twipsPerPixel + 0.5);
  RECT label{0, top, client.right,
             top + static_cast<int>(std::lround(controls::kCaptionHeightTwips / twipsPerPixel))};
  const std::wstring text = Widen(button_.Caption());
  HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_CENTER | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
  if (button_.CaptionEnabled()) {
    SetTextColor(dc, static_cast<COLORREF>(button_.CaptionColour() & 0xFFFFFF));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label, format);
  } else {
    // The greyed, embossed look of a disabled caption.
    RECT shadow = label;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label, format);
  }
  SelectObject(dc, oldFont);
}

void Command::RecreateFont() {
  if (font_) DeleteObject(font_);
  font_ = CreateControlFont(button_.Font(), dpi_);
}

void Command::SyncWindowEnabled() {
  // A disabled button takes neither focus nor the mouse; the window says so too.
  if (hwnd() && (IsWindowEnabled(hwnd()) != FALSE) != button_.IsEnabled())
    EnableWindow(hwnd(), button_.IsEnabled());
}

}  // namespace hz::win
