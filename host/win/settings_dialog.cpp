// Settings: the modal dialog in which the user chooses the
// background music and saves it to the settings file. Its rules live in
// settings_dialog_model; this file lays out the controls and wires them up.
#include <windows.h>
// After <windows.h>, which they need.
#include <commdlg.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controls/Command.h"
#include "controls/Label.h"
#include "controls/font.h"
#include "controls/kept_image.h"
#include "dpi_scale.h"
#include "dpi_win32.h"
#include "forms.h"
#include "paths.h"
#include "profile_win32.h"
#include "resource.h"
#include "settings_dialog_model.h"
#include "win32_text.h"
#include "window.h"
#include "zoom.h"

namespace hz::win {
namespace {

// The layout, in pixels at 96 dots per inch; a denser screen scales it.
constexpr int kClientWidth = 496;
constexpr int kClientHeight = 243;
constexpr int kMarkSize = 12;
// Screen order: CD (1), none (0), file (2); the index is the choice number.
constexpr std::array<int, 3> kChoiceRowY{76, 56, 96};
constexpr std::array<int, 3> kChoiceLabelWidth{22, 43, 60};
constexpr COLORREF kMarkKey = RGB(255, 0, 255);
constexpr UINT kUnloadMessage = WM_APP + 1;

constexpr wchar_t kHomePage[] = L"http://hazumaki.example.com/";
constexpr wchar_t kCredit[] = L"ﾃﾞｻﾞｲﾝ 水野 透   Ver.1.0.0";

enum ControlId : int { kIdRepeat = 1001, kIdFile, kIdSet, kIdCan };

// A 96-dpi box at `dpi`.
RECT Bounds(int x, int y, int w, int h, int dpi) {
  const PixelBox b = ScaleBox({x, y, w, h}, dpi);
  return RECT{b.x, b.y, b.x + b.width, b.y + b.height};
}

// What the dialog draws with at one screen density: fonts, and the pictures
// drawn for the nearest larger scale.
struct ScaledLook {
  HFONT font = nullptr;
  HFONT linkFont = nullptr;
  HBITMAP markEmpty = nullptr;
  HBITMAP markFilled = nullptr;
  HCURSOR linkCursor = nullptr;

  void Load(HINSTANCE instance, int dpi) {
    font = CreateControlFont(DialogFont(), dpi);
    linkFont = CreateControlFont(DialogFont(), dpi, true);
    const int step = PictureScaleIndex(dpi) * IDB_SCALE_STEP;
    const auto picture = [&](int id) {
      return static_cast<HBITMAP>(
          LoadImageW(instance, MAKEINTRESOURCEW(id + step), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    };
    markEmpty = picture(IDB_MARK_EMPTY);
    markFilled = picture(IDB_MARK_FILLED);
    // 32 pixels at 96 dpi, grown with the density like the rest, not the system's default size.
    const int cursor = ScaleCoordinate(32, dpi);
    linkCursor = static_cast<HCURSOR>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDCUR_LINK + step), IMAGE_CURSOR, cursor, cursor, 0));
  }

  void Free() {
    for (HFONT f : {font, linkFont})
      if (f) DeleteObject(f);
    for (HBITMAP b : {markEmpty, markFilled})
      if (b) DeleteObject(b);
    if (linkCursor) DestroyCursor(linkCursor);
    *this = ScaledLook{};
  }
};

// Draws one of the dialog's sine gradients over the whole picture, a line per row.
template <typename Colour>
void DrawSineGradient(KeptImage& image, Colour colourOf) {
  if (!image.dc()) return;
  const std::vector<int> rows = SineGradientRows(image.height());
  for (std::size_t y = 0; y < rows.size(); ++y) {
    const Rgb c = colourOf(rows[y]);
    const RECT line{0, static_cast<LONG>(y), image.width(), static_cast<LONG>(y) + 1};
    HBRUSH brush = CreateSolidBrush(RGB(c.red, c.green, c.blue));
    FillRect(image.dc(), &line, brush);
    DeleteObject(brush);
  }
}

// The framed panel Pic_C(0) that holds the music controls; what is drawn on
// it persists in a kept picture, and its buttons' clicks go on to the dialog.
class Panel final : public Window<Panel> {
 public:
  static constexpr const wchar_t* kClassName = L"Hazumaki.Panel";

  bool Place(HINSTANCE instance, HWND parent) {
    if (!Register(instance)) return false;
    return Create(instance, WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, L"",
                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent) != nullptr;
  }

  void Move(const RECT& bounds, int dpi) {
    dpi_ = dpi;
    MoveWindowTo(hwnd(), bounds);
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT painted = 0;
    if (HandlePaintMessages(hwnd(), msg, wp, painted, [this](HDC dc) { image_.CopyTo(dc); })) return painted;
    switch (msg) {
      case WM_SIZE:
        image_.Resize(LOWORD(lp), HIWORD(lp), RGB(224, 224, 224));
        DrawSineGradient(image_, PanelGradientColour);
        DrawHeadingFrame();
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return 0;
      case WM_COMMAND:
        return SendMessageW(GetParent(hwnd()), msg, wp, lp);
      default:
        return Default(msg, wp, lp);
    }
  }

 private:
  // Shape3(3): the black frame round the "BGM" heading.
  void DrawHeadingFrame() {
    if (!image_.dc()) return;
    const RECT frame = Bounds(20, 20, 113, 21, dpi_);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FrameRect(image_.dc(), &frame, black);
    DeleteObject(black);
  }

  KeptImage image_;
  int dpi_ = kDesignDpi;
};

class SettingsDialog final : public Window<SettingsDialog> {
 public:
  static constexpr const wchar_t* kClassName = L"Hazumaki.Settings";

  SettingsDialog(HINSTANCE instance, HostState& host) : instance_(instance), host_(host) {}

  ~SettingsDialog() override {
    if (hwnd()) DestroyWindow(hwnd());
    look_.Free();
  }

  void RunModal() {
    HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_HAZUMAKI));
    if (!Register(instance_, 0, nullptr, icon)) return;
    // Sized for its screen's density once it exists (Load).
    if (!Create(instance_, 0, Widen(kDialogTitle).c_str(), kStyle, 0, 0, kClientWidth, kClientHeight)) return;
    Load();
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    MSG msg;
    while (hwnd() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
      // The system sends the density change; a posted one carries a pointer from elsewhere.
      if (msg.message == WM_DPICHANGED) continue;
      if (hwnd() && IsDialogMessageW(hwnd(), &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT painted = 0;
    if (HandlePaintMessages(hwnd(), msg, wp, painted, [this](HDC dc) { image_.CopyTo(dc); })) return painted;
    switch (msg) {
      case WM_CREATE:
        CreateControls();
        return 0;
      case WM_SIZE:
        image_.Resize(LOWORD(lp), HIWORD(lp), RGB(0, 0, 30));
        DrawSineGradient(image_, FormGradientColour);
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return 0;
      case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) OnClick(LOWORD(wp));
        return 0;
      case WM_CLOSE:
        Unload();
        return 0;
      case WM_DPICHANGED:
        // Moved to a monitor of another density: its suggested place, laid out and drawn anew.
        if (LOWORD(wp) > 0 && lp) {
          ApplyDpi(LOWORD(wp));
          MoveWindowTo(hwnd(), *reinterpret_cast<const RECT*>(lp));
        }
        return 0;
      case kUnloadMessage:
        Unload();
        return 0;
      default:
        return Default(msg, wp, lp);
    }
  }

 private:
  static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

  // Creates the controls; Layout places them.
  void CreateControls() {
    dpi_ = WindowDpi(hwnd());
    look_.Load(instance_, dpi_);
    const RECT none{};
    panel_.Place(instance_, hwnd());
    HWND panel = panel_.hwnd();
    Label::Look black{look_.font};
    black.growToFit = true;
    Label::Look centred = black;
    centred.centred = true;
    Label::Look framed = black;
    framed.border = true;
    framed.growToFit = false;

    heading_.Place(instance_, panel, none, L"BGM", centred);
    const std::array<const wchar_t*, 3> choice{L"なし", L"音楽CD", L"MP3、WAV"};
    for (int i = 0; i < 3; ++i) {
      const auto n = static_cast<std::size_t>(i);
      marks_[n].Place(instance_, panel, none, L"", black);
      choiceLabels_[n].Place(instance_, panel, none, choice[n], black);
      const auto select = [this, i](controls::MouseButton) { Select(static_cast<std::int16_t>(i)); };
      marks_[n].onPress = select;
      choiceLabels_[n].onPress = select;
    }

    repeat_ = CreateWindowExW(
        0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
        0, 0, 0, 0, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepeat)), instance_, nullptr);
    repeatLabel_.Place(instance_, panel, none, L"曲目をﾘﾋﾟｰﾄ", black);

    fileButton_.Place(instance_, panel, kIdFile, none, storedFile_, DialogFont());
    fileName_.Place(instance_, panel, none, L"", framed);

    Label::Look white = black;
    white.colour = RGB(255, 255, 255);
    credit_.Place(instance_, hwnd(), none, kCredit, white);
    Label::Look link = white;
    link.font = look_.linkFont;
    link.cursor = look_.linkCursor;
    link_.Place(instance_, hwnd(), none, kHomePage, link);
    link_.onClick = [this] { OpenHomePage(); };

    setButton_.Place(instance_, hwnd(), kIdSet, none, storedSet_, DialogFont());
    cancelButton_.Place(instance_, hwnd(), kIdCan, none, storedCan_, DialogFont());
    Layout();
  }

  // Every control's place, size and font at the dialog's density.
  void Layout() {
    const int dpi = dpi_;
    HFONT font = look_.font;
    panel_.Move(Bounds(12, 16, 469, 165, dpi), dpi);
    heading_.Move(Bounds(20, 24, 111, 13, dpi), font);
    for (std::size_t n = 0; n < 3; ++n) {
      marks_[n].Move(Bounds(28, kChoiceRowY[n], 13, 13, dpi), font);
      choiceLabels_[n].Move(Bounds(44, kChoiceRowY[n], kChoiceLabelWidth[n], 13, dpi), font);
    }
    if (repeat_) {
      SendMessageW(repeat_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      MoveWindowTo(repeat_, Bounds(112, 52, 41, 20 + 8 * 15, dpi));  // the dropped list's height included
      FitComboHeight(ScaleCoordinate(20, dpi));
    }
    repeatLabel_.Move(Bounds(156, 56, 66, 13, dpi), font);
    fileButton_.Move(Bounds(28, 116, 41, 21, dpi), dpi);
    fileName_.Move(Bounds(72, 116, 373, 33, dpi), font);
    credit_.Move(Bounds(12, 192, 165, 13, dpi), font);
    link_.Move(Bounds(12, 208, 207, 13, dpi), look_.linkFont, look_.linkCursor);
    setButton_.Move(Bounds(324, 200, 77, 25, dpi), dpi);
    cancelButton_.Move(Bounds(404, 200, 77, 25, dpi), dpi);
  }

  // Fonts, pictures and layout for a new density; the old look goes once nothing uses it.
  void ApplyDpi(int dpi) {
    ScaledLook old = look_;
    dpi_ = UsableDpi(dpi);
    look_.Load(instance_, dpi_);
    Layout();
    ShowKind(host_.music.BGM_Kind);
    old.Free();
  }

  SIZE WindowSize() const {
    return OuterSizeForClient({ScaleCoordinate(kClientWidth, dpi_), ScaleCoordinate(kClientHeight, dpi_)},
                              kStyle, 0, dpi_);
  }

  // The closed combo box is as high as its place on the form.
  void FitComboHeight(int height) {
    RECT r{};
    GetWindowRect(repeat_, &r);
    const auto field = static_cast<int>(SendMessageW(repeat_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    const int wanted = field + height - (r.bottom - r.top);
    if (field > 0 && wanted > 0) SendMessageW(repeat_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
  }

  // The form's load: place the window, set the controls from the settings,
  // capture the cursor point and zoom open from it.
  void Load() {
    const SIZE size = WindowSize();
    const Placement p =
        PlaceDialog(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), size.cx, size.cy);
    SetWindowPos(hwnd(), nullptr, p.left, p.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

    for (Command* c : {&fileButton_, &setButton_, &cancelButton_}) c->Button().Initialize();
    const MusicSettings& music = host_.music;
    ShowKind(music.BGM_Kind);
    if (repeat_) {
      SetWindowTextW(repeat_, Widen(FormatTrack(music.BGM_RepeatTrack)).c_str());
      for (const std::string& entry : TrackEntries())
        SendMessageW(repeat_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
    }
    fileName_.SetText(Widen(music.BGM_File, CP_ACP));

    POINT cursor{};
    if (GetCursorPos(&cursor)) {
      host_.Cursor_X = static_cast<std::int16_t>(cursor.x);
      host_.Cursor_Y = static_cast<std::int16_t>(cursor.y);
    } else {
      host_.Cursor_X = host_.Cursor_Y = 0;
    }
    Zoom_Open(hwnd(), host_);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
  }

  // Marks, track field and file button follow the music kind.
  void ShowKind(std::int16_t kind) {
    const ChoiceControls c = ControlsForKind(kind);
    for (std::size_t i = 0; i < marks_.size(); ++i)
      marks_[i].SetPicture(c.markFilled[i] ? look_.markFilled : look_.markEmpty, kMarkKey,
                           ScaleCoordinate(kMarkSize, dpi_));
    if (repeat_) EnableWindow(repeat_, c.repeatEnabled);
    fileButton_.Button().Enabled(c.fileButtonEnabled);
  }

  void Select(std::int16_t choice) {
    host_.music.BGM_Kind = choice;
    ShowKind(choice);
  }

  void OnClick(int id) {
    if (id == kIdFile) ChooseFile();
    if (id == kIdSet) Confirm();
    if (id == kIdCan) PostMessageW(hwnd(), kUnloadMessage, 0, 0);
  }

  void ChooseFile() {
    wchar_t file[255] = {};
    wchar_t title[255] = {};
    // Without a chosen file the dialog starts in the program folder (UTF-8);
    // a chosen file's folder is in the ANSI code page, as the file's path.
    const std::wstring folder =
        Widen(host_.music.BGM_Folder, host_.music.BGM_File.empty() ? CP_UTF8 : CP_ACP);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.hInstance = instance_;
    ofn.lpstrFilter = L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = 255;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = 255;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = L"ﾌｧｲﾙを開く";
    ofn.Flags = 0;
    if (!GetOpenFileNameW(&ofn)) return;

    const std::wstring chosen(file);
    bool representable = true;
    const std::string ansi = Narrow(chosen, CP_ACP, &representable);
    switch (CheckChosenPath(ansi, representable)) {
      case ChosenPathCheck::NotRepresentable:
        Refuse(kPathNotRepresentableMessage);
        return;
      case ChosenPathCheck::TooLong:
        Refuse(kPathTooLongMessage);
        return;
      case ChosenPathCheck::Accepted:
        break;
    }
    host_.music.BGM_File = ansi;
    fileName_.SetText(chosen);
    host_.music.BGM_Folder = DirectoryPart(ansi, IsAnsiLeadByte);
  }

  void Confirm() {
    wchar_t text[256] = {};
    if (repeat_) GetWindowTextW(repeat_, text, 256);
    Win32ProfileStore store;
    switch (ConfirmSettings(host_.music, Narrow(text), store, host_.programFolder)) {
      case ConfirmResult::TrackOutOfRange:
        Refuse(kTrackOutOfRangeMessage);
        if (repeat_) SetFocus(repeat_);
        return;
      case ConfirmResult::SaveFailed:
        // The dialog stays open: the user may cancel, or make the file writable and try again.
        Refuse(kSaveFailedMessage);
        return;
      case ConfirmResult::Saved:
        PostMessageW(hwnd(), kUnloadMessage, 0, 0);
        return;
    }
  }

  void Refuse(const char* messageUtf8) {
    MessageBoxW(hwnd(), Widen(messageUtf8).c_str(), Widen(kApplicationTitle).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
  }

  void OpenHomePage() {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
    wchar_t address[256] = {};
    GetWindowTextW(link_.hwnd(), address, 256);
    ShellExecuteW(hwnd(), L"open", address, L"", L"", SW_SHOWNORMAL);
    SetCursor(previous);
  }

  void Unload() {
    if (!hwnd()) return;
    Zoom_Close(hwnd(), host_);
    DestroyWindow(hwnd());
  }

  HINSTANCE instance_;
  HostState& host_;
  KeptImage image_;
  int dpi_ = kDesignDpi;
  ScaledLook look_;

  // The three buttons as the form stores them.
  const controls::PropertyBag storedFile_ = StoredCommand(kCmdFileCaption);
  const controls::PropertyBag storedSet_ = StoredCommand(kCmdSetCaption);
  const controls::PropertyBag storedCan_ = StoredCommand(kCmdCanCaption);

  // Children are destroyed with the window; these objects outlive it.
  Panel panel_;
  Label heading_;
  std::array<Label, 3> marks_;         // Img_BGM(0..2)
  std::array<Label, 3> choiceLabels_;  // lbl_BGM(0..2)
  HWND repeat_ = nullptr;              // BGM_Repeat
  Label repeatLabel_;
  Command fileButton_;  // Cmd_File(0)
  Label fileName_;      // lbl_Fname(0)
  Label credit_;
  Label link_;            // lbl_URL
  Command setButton_;     // Cmd_Set
  Command cancelButton_;  // Cmd_Can
};

}  // namespace

void ShowSettingsDialog(HINSTANCE instance, HostState& host) {
  // Only this mode lays itself out per density; the preview's size is its
  // parent's, and the session shows no window of its own.
  MakeProcessDpiAware();
  auto dialog = std::make_unique<SettingsDialog>(instance, host);
  dialog->RunModal();
}

}  // namespace hz::win
