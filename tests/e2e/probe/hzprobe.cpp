// hzprobe: looks at and pokes the desktop from inside Wine for the end-to-end tests, as a user or Windows
// would. Texts are UTF-8; TOP is a window's title or handle, X Y a point in its client area. Commands:
// wait-window TOP MS [visible]; exists TOP; start PROGRAM TITLE MS (bare, as the host starts its renderer;
// prints the ms until TITLE exists); post TOP MSG WPARAM LPARAM; dialogs (the visible dialog boxes'
// captions); cursor (1: shown); acp; msgbox CAPTION MS (prints its text, presses OK); filedialog CAPTION
// MS PATH (types PATH, presses OK). at|detach TOP X Y, mouse|settext TOP X Y ARG, on the innermost
// visible control there: prints "text|enabled|left|top|right|bottom" (screen); lifts it out to 300,300
// (Wine paints another process's child only on its own); posts move, ldown, lup, lclick or rclick; sends
// WM_SETTEXT. parent W H MS [X Y]: a white window at 100,100 (or X,Y) living MS ms; prints its handle. hold
// MS PATH...: opens the files without sharing, prints "held", keeps them MS ms. music wav|mp3 PATH S [AFTER],
// music cd S [TRACK]: the host's music module timed like the session (WAV_Play, WAV_Stop; MP3_Open, MP3_Check
// each 1000 ms, MP3_Close; CD_Open, CD_Check each 200 ms while CD_Ok, CD_Close), printing each platform call,
// "polls N cd_ok 0|1" (cd), "stopped", and AFTER seconds later "done". monitors W H BITS: switches the
// display as the renderer does, prints "switch CODE", "left top right bottom primary" per monitor, and
// switches back. windows TOP: "left top right bottom|title" per visible top-level window of TOP's program.
// owner X Y MS: waits for "Tovira_VC", then for its program to own the top-level window at screen point
// X Y; prints the ms between the two. key VK MS: a real key press, held MS ms. dpi: the screen's dots per
// inch (LOGPIXELSX); client TOP: "width height left top" of its client area (screen); awareness TOP: the
// DPI awareness its window reports (0 unaware, 1 system, 2 per monitor); manifest PROGRAM: the DPI settings
// of its manifest as the system reads them, "dpiAware|dpiAwareness". The probe is per-monitor aware.
// Under any other name it stands in for the renderer: a window "Tovira_VC" that ends on a close request,
// opened HZ_STANDIN_DELAY_MS late (negative: it ends without one); HZ_STANDIN_LOG gets "program|command
// line" appended.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "dpi_win32.h"
#include "music.h"
#include "music_win32.h"

namespace {

using Args = std::vector<std::string>;

std::string Utf8(const std::wstring& w) {
  std::string s(w.size() * 3, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(),
                                    static_cast<int>(s.size()), nullptr, nullptr);
  return s.substr(0, static_cast<std::size_t>(n));
}
std::wstring Wide(const std::string& s) {
  std::wstring w(s.size(), L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                    static_cast<int>(w.size()));
  return w.substr(0, static_cast<std::size_t>(n));
}

// Another process's window: messages with a timeout, never a bare SendMessage.
std::wstring TextOf(HWND w) {
  wchar_t buf[4096] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got);
  return buf;
}

bool SetText(HWND w, const std::string& text) {
  DWORD_PTR got = 0;
  return SendMessageTimeoutW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()), SMTO_ABORTIFHUNG,
                             5000, &got);
}

bool IsClass(HWND w, const wchar_t* name) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  return _wcsicmp(cls, name) == 0;
}

HWND Find(const std::string& top) {
  return std::isdigit(static_cast<unsigned char>(top[0]))
             ? reinterpret_cast<HWND>(std::stoll(top, nullptr, 0))
             : FindWindowW(nullptr, Wide(top).c_str());
}
int Num(const Args& a, std::size_t i) { return std::atoi(a[i].c_str()); }
DWORD Dword(const Args& a, std::size_t i) { return static_cast<DWORD>(Num(a, i)); }
int Print(const std::string& line) { return std::printf("%s\n", line.c_str()), std::fflush(stdout), 0; }
std::string Edges(const RECT& r, const char* between = " ") {
  std::string s;
  for (const LONG v : {r.left, r.top, r.right, r.bottom}) s += (s.empty() ? "" : between) + std::to_string(v);
  return s;
}

// Polls `found` every 5 ms until it gives a window or `ms` have passed.
template <typename F>
HWND WaitFor(int ms, F found) {
  for (const DWORD start = GetTickCount();; Sleep(5)) {
    if (HWND w = found()) return w;
    if (static_cast<int>(GetTickCount() - start) > ms) return nullptr;
  }
}

// Calls f for each top-level window, or for each descendant of `parent`.
template <typename F>
void ForEachWindow(F f, HWND parent = nullptr) {
  auto call = [](HWND w, LPARAM lp) -> BOOL { return (*reinterpret_cast<F*>(lp))(w), TRUE; };
  parent ? EnumChildWindows(parent, call, reinterpret_cast<LPARAM>(&f))
         : EnumWindows(call, reinterpret_cast<LPARAM>(&f));
}

// msgbox prints the box's texts, filedialog types the path into the file name box (id 0x47c; the
// innermost window with that id is its edit field); both then press OK.
int AnswerDialog(const Args& a) {
  HWND box = WaitFor(Num(a, 3), [&] {
    HWND found = nullptr;
    ForEachWindow([&](HWND w) { found = IsClass(w, L"#32770") && TextOf(w) == Wide(a[2]) ? w : found; });
    return found;
  });
  HWND edit = nullptr;
  if (box)
    ForEachWindow(
        [&](HWND w) {
          if (a[1] == "msgbox" && IsClass(w, L"Static") && !TextOf(w).empty()) Print(Utf8(TextOf(w)));
          edit = GetDlgCtrlID(w) == 0x47c ? w : edit;
        },
        box);
  return !(box && (a[1] == "msgbox" || (edit && SetText(edit, a[4]))) &&
           PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
}

// A plain top-level window that ends the program once destroyed (DefWindowProc destroys it on WM_CLOSE).
int Window(const wchar_t* title, int width, int height, int ms, bool print, int x = 100, int y = 100) {
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
  if (print) Print(std::to_string(reinterpret_cast<long long>(w)));
  if (ms > 0) SetTimer(w, 1, static_cast<UINT>(ms), nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == w) DestroyWindow(w);
    DispatchMessageW(&msg);
  }
  return 0;
}

int StandIn(const wchar_t* self) {
  const char* log = std::getenv("HZ_STANDIN_LOG");
  if (FILE* f = log ? std::fopen(log, "ab") : nullptr)
    std::fprintf(f, "%ls|%ls\n", self, GetCommandLineW()), std::fclose(f);
  const char* late = std::getenv("HZ_STANDIN_DELAY_MS");
  const int delay = late ? std::atoi(late) : 0;
  if (delay < 0) return 0;
  Sleep(static_cast<DWORD>(delay));
  return Window(L"Tovira_VC", 320, 240, 0, false);
}

int Start(const Args& a) {
  STARTUPINFOW si{sizeof si, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, {}, {}, {}};
  PROCESS_INFORMATION pi{};
  const DWORD start = GetTickCount();
  if (!CreateProcessW(Wide(a[2]).c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) ||
      !WaitFor(Num(a, 4), [&] { return Find(a[3]); }))
    return 1;
  return Print(std::to_string(GetTickCount() - start));
}

int Control(const Args& a) {
  HWND top = Find(a[2]);
  if (!IsWindow(top)) return 1;
  const std::string& cmd = a[1];
  // The innermost visible control under the point, and the point in its own coordinates.
  POINT client{Num(a, 3), Num(a, 4)}, p = client;
  HWND w = top;
  for (HWND c; (c = ChildWindowFromPointEx(w, p, CWP_SKIPINVISIBLE)) && c != w; w = c)
    MapWindowPoints(w, c, &p, 1);
  if (cmd == "settext") return !SetText(w, a[5]);
  if (cmd == "at") {
    RECT r{};
    GetWindowRect(w, &r);
    return Print(Utf8(TextOf(w)) + (IsWindowEnabled(w) ? "|1|" : "|0|") + Edges(r, "|"));
  }
  if (cmd == "detach") {
    SetParent(w, nullptr);
    SetWindowLongW(w, GWL_STYLE, (GetWindowLongW(w, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
    SetWindowPos(w, HWND_TOPMOST, 300, 300, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    return !RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  const std::string& act = a[5];
  ClientToScreen(top, &client);
  SetCursorPos(client.x, client.y);
  std::vector<std::pair<UINT, WPARAM>> steps;
  if (act != "lup") steps.push_back({WM_MOUSEMOVE, 0});
  if (act == "ldown" || act == "lclick") steps.push_back({WM_LBUTTONDOWN, MK_LBUTTON});
  if (act == "lup" || act == "lclick") steps.push_back({WM_LBUTTONUP, 0});
  if (act == "rclick") steps.insert(steps.end(), {{WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}});
  for (const auto& [msg, keys] : steps)
    if (!PostMessageW(w, msg, keys, MAKELPARAM(p.x, p.y))) return 1;
  return 0;
}

// Passes every call on to the platform and prints it.
class LoggingDevice final : public hz::MusicDevice {
 public:
  std::uint32_t SendString(const char* command, char* reply, std::uint32_t size) override {
    const std::uint32_t code = real_.SendString(command, reply, size);
    const std::string answer = code == 0 && size > 0 ? " " + std::string(reply, strnlen(reply, size)) : "";
    return std::printf("mci %s -> %u%s\n", command, code, answer.c_str()), code;
  }
  std::uint32_t WaveOutDeviceCount() override {
    const std::uint32_t n = real_.WaveOutDeviceCount();
    return std::printf("wave devices %u\n", n), n;
  }
  bool PlaySoundName(const char* name, std::uint32_t flags) override {
    const bool ok = real_.PlaySoundName(name, flags);
    return std::printf("sound %s %u -> %d\n", name ? name : "(none)", flags, ok ? 1 : 0), ok;
  }
  bool GetErrorString(std::uint32_t code, char* text, std::uint32_t size) override {
    return real_.GetErrorString(code, text, size);
  }

 private:
  hz::win::Win32MusicDevice real_;
};

// Pumps messages for `seconds`, calling `tick` every `periodMs` (0: never) while it returns true.
template <typename Tick>
void Pump(const std::string& seconds, UINT periodMs, Tick tick) {
  UINT_PTR timer = periodMs ? SetTimer(nullptr, 0, periodMs, nullptr) : 0;
  const UINT_PTR end =
      SetTimer(nullptr, 0, static_cast<UINT>(std::atof(seconds.c_str()) * 1000.0) + 1, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0 && !(msg.message == WM_TIMER && msg.wParam == end)) {
    if (msg.message == WM_TIMER && timer && msg.wParam == timer && !tick())
      KillTimer(nullptr, timer), timer = 0;
    DispatchMessageW(&msg);
  }
}

int Monitors(const Args& a) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPelsWidth = Dword(a, 2), mode.dmPelsHeight = Dword(a, 3), mode.dmBitsPerPel = Dword(a, 4);
  Print("switch " + std::to_string(ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN)));
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR m, HDC, RECT*, LPARAM) -> BOOL {
        MONITORINFO mi{sizeof mi, {}, {}, 0};
        GetMonitorInfoW(m, &mi);
        return Print(Edges(mi.rcMonitor) + ((mi.dwFlags & MONITORINFOF_PRIMARY) ? " 1" : " 0")), TRUE;
      },
      0);
  ChangeDisplaySettingsW(nullptr, 0);
  return 0;
}

// A function looked up at run time, as Wine may lack it.
template <typename F>
F Proc(const wchar_t* module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

DWORD ProcessOf(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return pid;
}

// No messages: the program may be busy loading.
int WindowsOf(const Args& a) {
  const DWORD pid = ProcessOf(Find(a[2]));
  ForEachWindow([&](HWND w) {
    RECT r{};
    wchar_t title[256] = {};
    if (ProcessOf(w) != pid || !IsWindowVisible(w) || !GetWindowRect(w, &r)) return;
    GetWindowTextW(w, title, 256);
    Print(Edges(r) + "|" + Utf8(title));
  });
  return pid ? 0 : 1;
}

int Owner(const Args& a) {
  const POINT p{Num(a, 2), Num(a, 3)};
  const HWND vc = WaitFor(Num(a, 4), [] { return FindWindowW(nullptr, L"Tovira_VC"); });
  const DWORD start = GetTickCount();
  const auto owned = [&] {
    HWND at = GetAncestor(WindowFromPoint(p), GA_ROOT);
    return ProcessOf(at) == ProcessOf(vc) ? at : nullptr;
  };
  if (!vc || !WaitFor(Num(a, 4), owned)) return 1;
  return Print(std::to_string(GetTickCount() - start));
}

int Music(const Args& a) {
  LoggingDevice device;
  hz::MusicSettings settings;
  hz::Tovira_BGM bgm(device, settings);
  if (a[2] == "cd") {
    settings.BGM_Kind = hz::kMusicCd;
    settings.BGM_RepeatTrack = static_cast<std::int16_t>(a.size() > 4 ? std::atoi(a[4].c_str()) : 0);
    bgm.CD_Open();
    int polls = 0;
    Pump(a[3], 200, [&] { return bgm.CD_Check(), ++polls, bgm.CD_Ok(); });
    Print("polls " + std::to_string(polls) + " cd_ok " + (bgm.CD_Ok() ? "1" : "0"));
    if (bgm.CD_Ok()) bgm.CD_Close();
  } else if ((a[2] == "wav" || a[2] == "mp3") && a.size() > 4) {
    settings.BGM_Kind = hz::kMusicFile;
    settings.BGM_File = a[3];
    const bool mp3 = a[2] == "mp3";
    mp3 ? bgm.MP3_Open() : bgm.WAV_Play();
    Pump(a[4], mp3 ? 1000 : 0, [&] { return bgm.MP3_Check(), true; });
    mp3 ? bgm.MP3_Close() : bgm.WAV_Stop();
  } else {
    return 2;
  }
  Print("stopped");
  if (a.size() > 5 && a[2] != "cd") Pump(a[5], 0, [] { return true; });
  return Print("done");
}

int Hold(const Args& a) {
  for (std::size_t i = 3; i < a.size(); ++i)
    if (CreateFileW(Wide(a[i]).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr) == INVALID_HANDLE_VALUE)
      return Print("cannot hold " + a[i] + ": error " + std::to_string(GetLastError())), 1;
  Print("held");
  Sleep(Dword(a, 2));  // the handles close as the program ends
  return 0;
}

// Commands (one or more names) with their least and most argument counts, the program's name included.
const struct {
  const char* name;
  std::size_t least, most;
  int (*run)(const Args&);
} kCommands[] = {
    {"wait-window", 4, 5,
     [](const Args& a) -> int {
       return !WaitFor(Num(a, 3),
                       [&] { return a.size() == 4 || IsWindowVisible(Find(a[2])) ? Find(a[2]) : nullptr; });
     }},
    {"exists", 3, 3, [](const Args& a) { return IsWindow(Find(a[2])) ? 0 : 1; }},
    {"start", 5, 5, Start},
    {"post", 6, 6,
     [](const Args& a) -> int {
       HWND w = Find(a[2]);  // a null window would post to this thread
       return !(w && PostMessageW(w, static_cast<UINT>(std::stoul(a[3], nullptr, 0)),
                                  std::stoull(a[4], nullptr, 0), std::stoll(a[5], nullptr, 0)));
     }},
    {"msgbox filedialog", 4, 5, AnswerDialog},
    {"dialogs", 2, 2,
     [](const Args&) {
       ForEachWindow([](HWND w) {
         if (IsClass(w, L"#32770") && IsWindowVisible(w)) Print(Utf8(TextOf(w)));
       });
       return 0;
     }},
    {"at detach", 5, 5, Control},
    {"mouse settext", 6, 6, Control},
    {"parent", 5, 7,
     [](const Args& a) {
       const bool at = a.size() == 7;
       return Window(L"HzProbe Parent", Num(a, 2), Num(a, 3), Num(a, 4), true, at ? Num(a, 5) : 100,
                     at ? Num(a, 6) : 100);
     }},
    {"cursor", 2, 2,
     [](const Args&) {
       CURSORINFO ci{sizeof ci, 0, nullptr, {}};
       return GetCursorInfo(&ci) ? Print((ci.flags & CURSOR_SHOWING) ? "1" : "0") : 1;
     }},
    {"acp", 2, 2, [](const Args&) { return Print(std::to_string(GetACP())); }},
    {"hold", 4, 99, Hold},
    {"dpi", 2, 2,
     [](const Args&) { return Print(std::to_string(GetDeviceCaps(GetDC(nullptr), LOGPIXELSX))); }},
    {"client", 3, 3,
     [](const Args& a) {
       HWND w = Find(a[2]);
       RECT r{};
       POINT origin{0, 0};
       if (!IsWindow(w) || !GetClientRect(w, &r) || !ClientToScreen(w, &origin)) return 1;
       return Print(Edges({r.right, r.bottom, origin.x, origin.y}));
     }},
    {"manifest", 3, 3,
     [](const Args& a) {
       const std::wstring path = Wide(a[2]);
       ACTCTXW request{};
       request.cbSize = sizeof request;
       request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
       request.lpSource = path.c_str();
       request.lpResourceName = MAKEINTRESOURCEW(1);  // a program's manifest
       using Query = BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*, SIZE_T, SIZE_T*);
       const auto query = Proc<Query>(L"kernel32.dll", "QueryActCtxSettingsW");
       HANDLE context = CreateActCtxW(&request);
       if (!query || context == INVALID_HANDLE_VALUE) return 1;
       std::string line;
       for (const auto& [space, name] :
            {std::pair{L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"},
             std::pair{L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"}}) {
         wchar_t value[128] = {};
         SIZE_T got = 0;
         line += (line.empty() ? "" : "|") +
                 (query(0, context, space, name, value, 128, &got) ? Utf8(value) : "");
       }
       ReleaseActCtx(context);
       return Print(line);
     }},
    {"awareness", 3, 3,
     [](const Args& a) {
       // Wine cannot tell per-monitor v2 from v1: both read back as 2.
       const auto context = Proc<HANDLE(WINAPI*)(HWND)>(L"user32.dll", "GetWindowDpiAwarenessContext");
       const auto awareness =
           Proc<int(WINAPI*)(HANDLE)>(L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
       HWND w = Find(a[2]);
       return context && awareness && IsWindow(w) ? Print(std::to_string(awareness(context(w)))) : 1;
     }},
    {"music", 4, 6, Music},
    {"monitors", 5, 5, Monitors},
    {"windows", 3, 3, WindowsOf},
    {"owner", 5, 5, Owner},
    {"key", 4, 4,
     [](const Args& a) -> int {
       INPUT in[2] = {};
       for (INPUT& i : in)
         i.type = INPUT_KEYBOARD, i.ki.wVk = static_cast<WORD>(std::stoul(a[2], nullptr, 0));
       in[1].ki.dwFlags = KEYEVENTF_KEYUP;
       const bool down = SendInput(1, &in[0], sizeof(INPUT)) == 1;
       Sleep(Dword(a, 3));
       return !(down && SendInput(1, &in[1], sizeof(INPUT)) == 1);
     }},
};

}  // namespace

// The wide entry point: Japanese titles do not survive the ANSI code page's argv.
int wmain(int argc, wchar_t** argv) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const wchar_t* name = std::wcsrchr(self, L'\\');
  if (_wcsicmp(name ? name + 1 : self, L"hzprobe.exe") != 0) return StandIn(self);
  hz::win::MakeProcessDpiAware();  // measures in physical pixels, like the settings dialog
  Args args;
  for (int i = 0; i < argc; ++i) args.push_back(Utf8(argv[i]));
  for (const auto& c : kCommands)
    if (args.size() >= c.least && args.size() <= c.most &&
        (" " + std::string(c.name) + " ").find(" " + args[1] + " ") != std::string::npos)
      return c.run(args);
  std::fprintf(stderr, "hzprobe: unknown or incomplete command\n");
  return 2;
}
