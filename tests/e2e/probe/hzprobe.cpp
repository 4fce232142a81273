// hzprobe: looks at and pokes the desktop from inside Wine for the
// end-to-end tests, the way a user or Windows itself would.
//
//   hzprobe wait-window TITLE MS      exit 0 once a top-level window TITLE exists; prints the wait in ms
//   hzprobe wait-gone TITLE MS        exit 0 once no top-level window TITLE exists
//   hzprobe exists TITLE              exit 0 when a top-level window TITLE exists
//   hzprobe msgbox CAPTION MS [BUTTON] prints the text of a message box CAPTION (UTF-8); BUTTON
//                                      (ok, yes, no, cancel) presses that button afterwards
//   hzprobe post TITLE MSG WPARAM LPARAM   PostMessage to window TITLE (numbers in C notation)
//   hzprobe parent W H MS             a top-level window of W x H pixels; prints its handle, lives MS ms
//   hzprobe children HANDLE           prints "title|x|y|w|h|visible|handle" for each child, relative to HANDLE
//   hzprobe detach HANDLE X Y         makes window HANDLE a top-level window at screen point X, Y
//                                     (Wine paints another process's child only on its own)
//   hzprobe rect TITLE                prints the screen rectangle "l t r b" of window TITLE
//   hzprobe cursor                    prints 1 when the cursor is shown, 0 when hidden (as the
//                                     foreground window's thread has it)
//   hzprobe dialogs                   prints the caption (UTF-8) of every visible top-level dialog box
//   hzprobe wait-visible TITLE MS     exit 0 once a top-level window TITLE is shown
//   hzprobe at TITLE X Y              prints "class|text|enabled|l|t|r|b" of the control at client point X,Y
//                                      of TITLE (its screen rectangle last)
//   hzprobe mouse TITLE X Y ACTION    puts the cursor on client point X,Y of TITLE and posts ACTION to the
//                                      control there: move, ldown, lup, lclick, rclick, mclick
//   hzprobe settext TITLE X Y TEXT    WM_SETTEXT of TEXT (UTF-8) to the control at client point X,Y of TITLE
//   hzprobe filedialog CAPTION MS PATH  types PATH into the open-file dialog CAPTION and presses OK
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring Wide(const char* s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
  w.resize(w.size() - 1);
  return w;
}

std::wstring TextOf(HWND w) {
  wchar_t buf[4096] = {};
  // Another process's window: WM_GETTEXT with a timeout, never a bare SendMessage.
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got);
  return buf;
}

HWND Find(const std::wstring& title) { return FindWindowW(nullptr, title.c_str()); }

long long Number(const char* s) { return std::strtoll(s, nullptr, 0); }

int WaitFor(const std::wstring& title, int ms, bool present) {
  const DWORD start = GetTickCount();
  for (;;) {
    if ((Find(title) != nullptr) == present) {
      std::printf("%lu\n", GetTickCount() - start);
      return 0;
    }
    if (static_cast<int>(GetTickCount() - start) > ms) return 1;
    Sleep(10);
  }
}

struct MsgBoxSearch {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<MsgBoxSearch*>(lp);
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (std::wcscmp(cls, L"#32770") == 0 && TextOf(w) == s->caption) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK PrintStatic(HWND w, LPARAM) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (_wcsicmp(cls, L"Static") == 0) {
    const std::wstring t = TextOf(w);
    if (!t.empty()) std::printf("%s\n", Utf8(t).c_str());
  }
  return TRUE;
}

int MsgBox(const char* caption, int ms, const char* button) {
  MsgBoxSearch s{Wide(caption)};
  const DWORD start = GetTickCount();
  while (!s.found) {
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
    if (s.found) break;
    if (static_cast<int>(GetTickCount() - start) > ms) return 1;
    Sleep(20);
  }
  EnumChildWindows(s.found, PrintStatic, 0);
  if (button) {
    int id = IDOK;
    if (!std::strcmp(button, "yes")) id = IDYES;
    if (!std::strcmp(button, "no")) id = IDNO;
    if (!std::strcmp(button, "cancel")) id = IDCANCEL;
    PostMessageW(s.found, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  }
  return 0;
}

LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(w, m, wp, lp);
}

int Parent(int width, int height, int ms) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"HzProbeParent";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, L"HzProbe Parent", WS_POPUP | WS_VISIBLE, 100, 100, width, height,
                           nullptr, nullptr, wc.hInstance, nullptr);
  std::printf("%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(w)));
  std::fflush(stdout);
  SetTimer(w, 1, static_cast<UINT>(ms), nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == w) DestroyWindow(w);
    DispatchMessageW(&msg);
  }
  return 0;
}

BOOL CALLBACK PrintChild(HWND w, LPARAM lp) {
  HWND parent = reinterpret_cast<HWND>(lp);
  if (GetAncestor(w, GA_PARENT) != parent) return TRUE;
  RECT r{};
  GetWindowRect(w, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  std::printf("%s|%ld|%ld|%ld|%ld|%d|%lld\n", Utf8(TextOf(w)).c_str(), r.left, r.top, r.right - r.left,
              r.bottom - r.top, IsWindowVisible(w) ? 1 : 0, static_cast<long long>(reinterpret_cast<INT_PTR>(w)));
  return TRUE;
}

BOOL CALLBACK PrintDialog(HWND w, LPARAM) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (std::wcscmp(cls, L"#32770") == 0 && IsWindowVisible(w)) std::printf("%s\n", Utf8(TextOf(w)).c_str());
  return TRUE;
}

// The innermost visible control under a point of `top`'s client area.
HWND ControlAt(HWND top, POINT client, POINT* local) {
  HWND w = top;
  POINT p = client;
  for (;;) {
    HWND c = ChildWindowFromPointEx(w, p, CWP_SKIPINVISIBLE);
    if (!c || c == w) break;
    MapWindowPoints(w, c, &p, 1);
    w = c;
  }
  if (local) *local = p;
  return w;
}

int At(HWND top, POINT p) {
  HWND w = ControlAt(top, p, nullptr);
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  RECT r{};
  GetWindowRect(w, &r);
  std::printf("%s|%s|%d|%ld|%ld|%ld|%ld\n", Utf8(cls).c_str(), Utf8(TextOf(w)).c_str(), IsWindowEnabled(w) ? 1 : 0,
              r.left, r.top, r.right, r.bottom);
  return 0;
}

int Mouse(HWND top, POINT client, const std::string& action) {
  POINT screen = client;
  ClientToScreen(top, &screen);
  SetCursorPos(screen.x, screen.y);
  POINT local{};
  HWND w = ControlAt(top, client, &local);
  const LPARAM at = MAKELPARAM(local.x, local.y);
  struct Step { UINT msg; WPARAM keys; };
  std::vector<Step> steps{{WM_MOUSEMOVE, 0}};
  if (action == "ldown" || action == "lclick") steps.push_back({WM_LBUTTONDOWN, MK_LBUTTON});
  if (action == "lup" || action == "lclick") steps.push_back({WM_LBUTTONUP, 0});
  if (action == "rclick") steps.insert(steps.end(), {{WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}});
  if (action == "mclick") steps.insert(steps.end(), {{WM_MBUTTONDOWN, MK_MBUTTON}, {WM_MBUTTONUP, 0}});
  if (action == "lup") steps.erase(steps.begin());
  for (const Step& s : steps)
    if (!PostMessageW(w, s.msg, s.keys, at)) return 1;
  return 0;
}

// The file name box is 0x47c; the innermost window with that id is its edit field.
BOOL CALLBACK FindFileNameBox(HWND w, LPARAM lp) {
  if (GetDlgCtrlID(w) == 0x47c) *reinterpret_cast<HWND*>(lp) = w;
  return TRUE;
}

int FileDialog(const char* caption, int ms, const char* path) {
  MsgBoxSearch s{Wide(caption)};
  const DWORD start = GetTickCount();
  while (!s.found) {
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
    if (s.found) break;
    if (static_cast<int>(GetTickCount() - start) > ms) return 1;
    Sleep(20);
  }
  HWND box = nullptr;
  EnumChildWindows(s.found, FindFileNameBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return 1;
  const std::wstring text = Wide(path);
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                           &ignored))
    return 1;
  return PostMessageW(s.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) ? 0 : 1;
}

int Usage() {
  std::fprintf(stderr, "hzprobe: unknown or incomplete command\n");
  return 2;
}

}  // namespace

int main(int, char**) {
  // The C runtime's argv is in the ANSI code page; Japanese titles need the wide command line.
  int argc = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  std::vector<char*> pointers;
  for (std::string& a : args) pointers.push_back(a.data());
  char** argv = pointers.data();
  if (argc < 2) return Usage();
  const std::string cmd = argv[1];
  if (cmd == "wait-window" && argc == 4) return WaitFor(Wide(argv[2]), std::atoi(argv[3]), true);
  if (cmd == "wait-gone" && argc == 4) return WaitFor(Wide(argv[2]), std::atoi(argv[3]), false);
  if (cmd == "exists" && argc == 3) return Find(Wide(argv[2])) ? 0 : 1;
  if (cmd == "msgbox" && (argc == 4 || argc == 5)) return MsgBox(argv[2], std::atoi(argv[3]), argc == 5 ? argv[4] : nullptr);
  if (cmd == "post" && argc == 6) {
    HWND w = Find(Wide(argv[2]));
    if (!w) return 1;
    return PostMessageW(w, static_cast<UINT>(Number(argv[3])), static_cast<WPARAM>(Number(argv[4])),
                        static_cast<LPARAM>(Number(argv[5]))) ? 0 : 1;
  }
  if (cmd == "parent" && argc == 5) return Parent(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
  if (cmd == "children" && argc == 3) {
    HWND parent = reinterpret_cast<HWND>(static_cast<INT_PTR>(Number(argv[2])));
    if (!IsWindow(parent)) return 1;
    EnumChildWindows(parent, PrintChild, reinterpret_cast<LPARAM>(parent));
    return 0;
  }
  if (cmd == "detach" && argc == 5) {
    HWND w = reinterpret_cast<HWND>(static_cast<INT_PTR>(Number(argv[2])));
    if (!IsWindow(w)) return 1;
    SetParent(w, nullptr);
    SetWindowLongW(w, GWL_STYLE, (GetWindowLongW(w, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
    SetWindowPos(w, HWND_TOPMOST, std::atoi(argv[3]), std::atoi(argv[4]), 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return 0;
  }
  if (cmd == "cursor" && argc == 2) {
    CURSORINFO ci{};
    ci.cbSize = sizeof ci;
    if (!GetCursorInfo(&ci)) return 1;
    std::printf("%d\n", (ci.flags & CURSOR_SHOWING) ? 1 : 0);
    return 0;
  }
  if (cmd == "rect" && argc == 3) {
    HWND w = Find(Wide(argv[2]));
    RECT r{};
    if (!w || !GetWindowRect(w, &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (cmd == "dialogs" && argc == 2) return EnumWindows(PrintDialog, 0) ? 0 : 1;
  if ((cmd == "at" && argc == 5) || (cmd == "mouse" && argc == 6) || (cmd == "settext" && argc == 6)) {
    HWND top = Find(Wide(argv[2]));
    if (!top) return 1;
    const POINT p{std::atoi(argv[3]), std::atoi(argv[4])};
    if (cmd == "at") return At(top, p);
    if (cmd == "mouse") return Mouse(top, p, argv[5]);
    const std::wstring text = Wide(argv[5]);
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(ControlAt(top, p, nullptr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, 5000, &ignored) ? 0 : 1;
  }
  if (cmd == "wait-visible" && argc == 4) {
    const DWORD start = GetTickCount();
    for (;;) {
      HWND w = Find(Wide(argv[2]));
      if (w && IsWindowVisible(w)) return 0;
      if (static_cast<int>(GetTickCount() - start) > std::atoi(argv[3])) return 1;
      Sleep(10);
    }
  }
  if (cmd == "filedialog" && argc == 5) return FileDialog(argv[2], std::atoi(argv[3]), argv[4]);
  return Usage();
}
