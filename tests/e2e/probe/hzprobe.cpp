// hzprobe: looks at and pokes the desktop from inside Wine for the
// end-to-end tests, the way a user or Windows itself would. Texts are UTF-8.
//
//   wait-window TITLE MS [visible]   exit 0 once a top-level window TITLE exists (and is shown)
//   exists TITLE                     exit 0 when a top-level window TITLE exists
//   msgbox CAPTION MS [ok]           prints the text of a message box CAPTION, then presses OK
//   post TITLE MSG WPARAM LPARAM     PostMessage to window TITLE (numbers in C notation)
//   parent W H MS                    a top-level window of W x H pixels; prints its handle, lives MS ms
//   children HANDLE                  prints "title|x|y|w|h|visible|handle" of each child, relative to HANDLE
//   detach HANDLE X Y                makes child HANDLE top-level at screen point X, Y (Wine paints
//                                    another process's child only on its own)
//   cursor                           prints 1 when the cursor is shown, 0 when hidden
//   acp                              prints the ANSI code page
//   dialogs                          prints the caption of every visible top-level dialog box
//   at TITLE X Y                     prints "class|text|enabled|l|t|r|b" (screen rectangle) of the control
//                                    at client point X,Y of TITLE; mouse TITLE X Y ACTION moves the cursor
//                                    there and posts move, ldown, lup, lclick or rclick to that control;
//                                    settext TITLE X Y TEXT sends it WM_SETTEXT
//   filedialog CAPTION MS PATH       types PATH into the open-file dialog CAPTION and presses OK
//   hold MS PATH...                  opens (creates) the files without sharing, prints "held", keeps them
//                                    MS ms, as a virus scanner or an editor would on Windows
//
// Under any other name it stands in for the renderer, whatever its command line: a window
// "Tovira_VC" that ends on a close request, opened HZ_STANDIN_DELAY_MS late; HZ_STANDIN_LOG
// gets "program|command line" appended.
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
  std::string s(static_cast<std::size_t>(w.size() * 3), '\0');
  s.resize(
      static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(),
                                                   static_cast<int>(s.size()), nullptr, nullptr)));
  return s;
}

std::wstring Wide(const std::string& s) {
  std::wstring w(s.size(), L'\0');
  w.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()),
                                                        w.data(), static_cast<int>(w.size()))));
  return w;
}

std::wstring TextOf(HWND w) {
  wchar_t buf[4096] = {};
  // Another process's window: WM_GETTEXT with a timeout, never a bare SendMessage.
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got);
  return buf;
}

bool SetText(HWND w, const std::string& text) {
  const std::wstring t = Wide(text);
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()), SMTO_ABORTIFHUNG, 5000,
                             &ignored) != 0;
}

std::wstring ClassOf(HWND w) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  return cls;
}

HWND Find(const std::string& title) { return FindWindowW(nullptr, Wide(title).c_str()); }
HWND Handle(const std::string& s) { return reinterpret_cast<HWND>(std::stoll(s, nullptr, 0)); }

// Polls `found` every 10 ms until it gives a window or `ms` have passed.
template <typename F>
HWND WaitFor(int ms, F found) {
  for (const DWORD start = GetTickCount();; Sleep(10)) {
    if (HWND w = found()) return w;
    if (static_cast<int>(GetTickCount() - start) > ms) return nullptr;
  }
}

// Calls f for each top-level window, or for each descendant of `parent`.
template <typename F>
void ForEachWindow(F f, HWND parent = nullptr) {
  auto call = [](HWND w, LPARAM lp) -> BOOL {
    (*reinterpret_cast<F*>(lp))(w);
    return TRUE;
  };
  if (parent)
    EnumChildWindows(parent, call, reinterpret_cast<LPARAM>(&f));
  else
    EnumWindows(call, reinterpret_cast<LPARAM>(&f));
}

HWND WaitDialog(const std::string& caption, int ms) {
  return WaitFor(ms, [&] {
    HWND found = nullptr;
    ForEachWindow([&](HWND w) { found = ClassOf(w) == L"#32770" && TextOf(w) == Wide(caption) ? w : found; });
    return found;
  });
}

// A plain top-level window that ends the program once destroyed (DefWindowProc destroys it on WM_CLOSE).
int Window(const wchar_t* title, int x, int y, int width, int height, int ms, bool print) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(w, m, wp, lp);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"HzProbeWindow";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, title, WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                           nullptr, wc.hInstance, nullptr);
  if (print) std::printf("%lld\n", reinterpret_cast<long long>(w));
  std::fflush(stdout);
  if (ms > 0) SetTimer(w, 1, static_cast<UINT>(ms), nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == w) DestroyWindow(w);
    DispatchMessageW(&msg);
  }
  return 0;
}

int StandIn(const wchar_t* self) {
  if (const char* log = std::getenv("HZ_STANDIN_LOG")) {
    if (FILE* f = std::fopen(log, "ab")) {
      std::fprintf(f, "%ls|%ls\n", self, GetCommandLineW());
      std::fclose(f);
    }
  }
  if (const char* delay = std::getenv("HZ_STANDIN_DELAY_MS")) Sleep(static_cast<DWORD>(std::atoi(delay)));
  return Window(L"Tovira_VC", 0, 0, 320, 240, 0, false);
}

int Control(const std::string& cmd, HWND top, POINT client, const std::string& arg) {
  // The innermost visible control under the point, and the point in its own coordinates.
  HWND w = top;
  POINT p = client;
  for (HWND c; (c = ChildWindowFromPointEx(w, p, CWP_SKIPINVISIBLE)) && c != w; w = c)
    MapWindowPoints(w, c, &p, 1);
  if (cmd == "settext") return !SetText(w, arg);
  if (cmd == "at") {
    RECT r{};
    GetWindowRect(w, &r);
    std::printf("%s|%s|%d|%ld|%ld|%ld|%ld\n", Utf8(ClassOf(w)).c_str(), Utf8(TextOf(w)).c_str(),
                IsWindowEnabled(w) ? 1 : 0, r.left, r.top, r.right, r.bottom);
    return 0;
  }
  ClientToScreen(top, &client);
  SetCursorPos(client.x, client.y);
  std::vector<std::pair<UINT, WPARAM>> steps;
  if (arg != "lup") steps.push_back({WM_MOUSEMOVE, 0});
  if (arg == "ldown" || arg == "lclick") steps.push_back({WM_LBUTTONDOWN, MK_LBUTTON});
  if (arg == "lup" || arg == "lclick") steps.push_back({WM_LBUTTONUP, 0});
  if (arg == "rclick") steps.insert(steps.end(), {{WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}});
  for (const auto& [msg, keys] : steps)
    if (!PostMessageW(w, msg, keys, MAKELPARAM(p.x, p.y))) return 1;
  return 0;
}

int Run(const std::vector<std::string>& a) {
  const std::size_t n = a.size();
  const std::string cmd = n > 1 ? a[1] : "";
  auto num = [&](std::size_t i) { return std::atoi(a[i].c_str()); };
  if (cmd == "wait-window" && (n == 4 || n == 5))
    return !WaitFor(num(3), [&] { return n == 4 || IsWindowVisible(Find(a[2])) ? Find(a[2]) : nullptr; });
  if (cmd == "exists" && n == 3) return !Find(a[2]);
  if (cmd == "msgbox" && (n == 4 || n == 5)) {
    HWND box = WaitDialog(a[2], num(3));
    if (!box) return 1;
    ForEachWindow(
        [](HWND w) {
          if (_wcsicmp(ClassOf(w).c_str(), L"Static") == 0 && !TextOf(w).empty())
            std::printf("%s\n", Utf8(TextOf(w)).c_str());
        },
        box);
    if (n == 5) PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return 0;
  }
  if (cmd == "post" && n == 6) {
    HWND w = Find(a[2]);
    return !(w && PostMessageW(w, static_cast<UINT>(std::stoul(a[3], nullptr, 0)),
                               std::stoull(a[4], nullptr, 0), std::stoll(a[5], nullptr, 0)));
  }
  if (cmd == "parent" && n == 5) return Window(L"HzProbe Parent", 100, 100, num(2), num(3), num(4), true);
  if (cmd == "children" && n == 3) {
    HWND parent = Handle(a[2]);
    if (!IsWindow(parent)) return 1;
    ForEachWindow(
        [&](HWND w) {
          RECT r{};
          GetWindowRect(w, &r);
          MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
          if (GetAncestor(w, GA_PARENT) == parent)
            std::printf("%s|%ld|%ld|%ld|%ld|%d|%lld\n", Utf8(TextOf(w)).c_str(), r.left, r.top,
                        r.right - r.left, r.bottom - r.top, IsWindowVisible(w) ? 1 : 0,
                        reinterpret_cast<long long>(w));
        },
        parent);
    return 0;
  }
  if (cmd == "detach" && n == 5) {
    HWND w = Handle(a[2]);
    if (!IsWindow(w)) return 1;
    SetParent(w, nullptr);
    SetWindowLongW(w, GWL_STYLE, (GetWindowLongW(w, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
    SetWindowPos(w, HWND_TOPMOST, num(3), num(4), 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return 0;
  }
  if (cmd == "cursor" && n == 2) {
    CURSORINFO ci{sizeof ci, 0, nullptr, {}};
    if (!GetCursorInfo(&ci)) return 1;
    std::printf("%d\n", (ci.flags & CURSOR_SHOWING) ? 1 : 0);
    return 0;
  }
  if (cmd == "acp" && n == 2) return std::printf("%u\n", GetACP()), 0;
  if (cmd == "dialogs" && n == 2) {
    ForEachWindow([](HWND w) {
      if (ClassOf(w) == L"#32770" && IsWindowVisible(w)) std::printf("%s\n", Utf8(TextOf(w)).c_str());
    });
    return 0;
  }
  if ((cmd == "at" && n == 5) || ((cmd == "mouse" || cmd == "settext") && n == 6)) {
    HWND top = Find(a[2]);
    return top ? Control(cmd, top, POINT{num(3), num(4)}, n == 6 ? a[5] : "") : 1;
  }
  if (cmd == "filedialog" && n == 5) {
    HWND dialog = WaitDialog(a[2], num(3));
    // The file name box is 0x47c; the innermost window with that id is its edit field.
    HWND box = nullptr;
    if (dialog) ForEachWindow([&](HWND w) { box = GetDlgCtrlID(w) == 0x47c ? w : box; }, dialog);
    return !(box && SetText(box, a[4]) && PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
  }
  if (cmd == "hold" && n >= 4) {
    for (std::size_t i = 3; i < n; ++i) {
      if (CreateFileW(Wide(a[i]).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr) == INVALID_HANDLE_VALUE) {
        std::printf("cannot hold %s: error %lu\n", a[i].c_str(), GetLastError());
        return 1;
      }
    }
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(num(2)));  // the handles close as the program ends
    return 0;
  }
  std::fprintf(stderr, "hzprobe: unknown or incomplete command\n");
  return 2;
}

}  // namespace

int main() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const wchar_t* name = std::wcsrchr(self, L'\\');
  if (_wcsicmp(name ? name + 1 : self, L"hzprobe.exe") != 0) return StandIn(self);
  // The C runtime's argv is in the ANSI code page; Japanese titles need the wide command line.
  int argc = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return Run(args);
}
