// hzprobe: looks at and pokes the desktop from inside Wine for the end-to-end
// tests, the way a user or Windows itself would. Texts are UTF-8.
//
//   wait-window TITLE MS [visible]  exit 0 once a top-level window TITLE exists (and is shown)
//   exists TITLE                    exit 0 when a top-level window TITLE exists
//   start PROGRAM TITLE MS          starts PROGRAM without arguments, as the host starts its renderer, and
//                                   prints the ms until window TITLE exists; exit 1 when not within MS
//   post TITLE MSG WPARAM LPARAM    PostMessage to window TITLE (numbers in C notation)
//   msgbox CAPTION MS               prints the text of a message box CAPTION, then presses OK
//   dialogs                         prints the caption of every visible top-level dialog box
//   filedialog CAPTION MS PATH      types PATH into the open-file dialog CAPTION and presses OK
//   at TOP X Y                      prints "text|enabled|left|top|right|bottom" (on the screen) of the
//                                   innermost visible control at client point X,Y of window TOP (a
//                                   title or a handle); mouse TOP X Y ACTION moves the cursor there and
//                                   posts move, ldown, lup, lclick or rclick to it; settext TOP X Y TEXT
//                                   sends it WM_SETTEXT; detach TOP X Y lifts it out as a top-level
//                                   window at screen point 300,300 (Wine paints another process's
//                                   child only on its own)
//   parent W H MS                   a top-level window of W x H pixels at 100,100; prints its handle,
//                                   lives MS ms
//   cursor                          prints 1 when the cursor is shown, 0 when hidden
//   acp                             prints the ANSI code page
//   hold MS PATH...                 opens (creates) the files without sharing, prints "held", keeps them
//                                   MS ms, as a virus scanner or an editor would on Windows
//   music wav PATH SECONDS [AFTER]  the host's music module on the real platform, timed like the session:
//   music mp3 PATH SECONDS [AFTER]  WAV_Play, SECONDS later WAV_Stop; or MP3_Open, MP3_Check every 1000 ms,
//   music cd SECONDS [TRACK]        then MP3_Close; or CD_Open, CD_Check every 200 ms while CD_Ok, then
//                                   CD_Close if the poll still runs. It prints every platform call with
//                                   its result ("mci COMMAND -> CODE [REPLY]", "wave devices N", "sound
//                                   NAME FLAGS -> RESULT"), then "polls N cd_ok 0|1" (cd), "stopped",
//                                   and after living AFTER seconds more (so a test hears that the stop
//                                   silenced the music), "done".
//
// Under any other name it stands in for the renderer, whatever its command line: a window
// "Tovira_VC" that ends on a close request, opened HZ_STANDIN_DELAY_MS late (negative: it ends
// without one); HZ_STANDIN_LOG gets "program|command line" appended.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "music.h"
#include "music_win32.h"

namespace {

std::string Utf8(const std::wstring& w) {
  std::string s(w.size() * 3, '\0');
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

// Another process's window: messages with a timeout, never a bare SendMessage.
std::wstring TextOf(HWND w) {
  wchar_t buf[4096] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got);
  return buf;
}

bool SetText(HWND w, const std::string& text) {
  const std::wstring t = Wide(text);
  DWORD_PTR got = 0;
  return SendMessageTimeoutW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()), SMTO_ABORTIFHUNG, 5000,
                             &got) != 0;
}

bool IsDialog(HWND w) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  return std::wcscmp(cls, L"#32770") == 0;
}

HWND Find(const std::string& title) { return FindWindowW(nullptr, Wide(title).c_str()); }
HWND Handle(const std::string& s) { return reinterpret_cast<HWND>(std::stoll(s, nullptr, 0)); }

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
  auto call = [](HWND w, LPARAM lp) -> BOOL {
    (*reinterpret_cast<F*>(lp))(w);
    return TRUE;
  };
  parent ? EnumChildWindows(parent, call, reinterpret_cast<LPARAM>(&f))
         : EnumWindows(call, reinterpret_cast<LPARAM>(&f));
}

HWND WaitDialog(const std::string& caption, int ms) {
  return WaitFor(ms, [&] {
    HWND found = nullptr;
    ForEachWindow([&](HWND w) { found = IsDialog(w) && TextOf(w) == Wide(caption) ? w : found; });
    return found;
  });
}

// A plain top-level window that ends the program once destroyed (DefWindowProc destroys it on WM_CLOSE).
int Window(const wchar_t* title, int width, int height, int ms, bool print) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(w, m, wp, lp);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"HzProbeWindow";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, title, WS_POPUP | WS_VISIBLE, 100, 100, width, height,
                           nullptr, nullptr, wc.hInstance, nullptr);
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
  const int delay = std::atoi(std::getenv("HZ_STANDIN_DELAY_MS") ? std::getenv("HZ_STANDIN_DELAY_MS") : "0");
  if (delay < 0) return 0;
  Sleep(static_cast<DWORD>(delay));
  return Window(L"Tovira_VC", 320, 240, 0, false);
}

int Start(const std::string& program, const std::string& title, int ms) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const DWORD start = GetTickCount();
  if (!CreateProcessW(Wide(program).c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi) ||
      !WaitFor(ms, [&] { return Find(title); }))
    return 1;
  return std::printf("%lu\n", GetTickCount() - start), 0;
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
    std::printf("%s|%d|%ld|%ld|%ld|%ld\n", Utf8(TextOf(w)).c_str(), IsWindowEnabled(w) ? 1 : 0, r.left, r.top,
                r.right, r.bottom);
    return 0;
  }
  if (cmd == "detach") {
    SetParent(w, nullptr);
    SetWindowLongW(w, GWL_STYLE, (GetWindowLongW(w, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
    SetWindowPos(w, HWND_TOPMOST, 300, 300, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    return !RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
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

// Passes every call on to the platform and prints it.
class LoggingDevice final : public hz::MusicDevice {
 public:
  std::uint32_t SendString(const char* command, char* reply, std::uint32_t size) override {
    const std::uint32_t code = real_.SendString(command, reply, size);
    const std::string answer = code == 0 && size > 0 ? " " + std::string(reply, strnlen(reply, size)) : "";
    std::printf("mci %s -> %u%s\n", command, code, answer.c_str());
    return code;
  }
  std::uint32_t WaveOutDeviceCount() override {
    const std::uint32_t n = real_.WaveOutDeviceCount();
    std::printf("wave devices %u\n", n);
    return n;
  }
  bool PlaySoundName(const char* name, std::uint32_t flags) override {
    const bool ok = real_.PlaySoundName(name, flags);
    std::printf("sound %s %u -> %d\n", name ? name : "(none)", flags, ok ? 1 : 0);
    return ok;
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
  std::fflush(stdout);
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

int Music(const std::vector<std::string>& a) {
  LoggingDevice device;
  hz::MusicSettings settings;
  hz::Tovira_BGM bgm(device, settings);
  if (a[2] == "cd") {
    settings.BGM_Kind = hz::kMusicCd;
    settings.BGM_RepeatTrack = static_cast<std::int16_t>(a.size() > 4 ? std::atoi(a[4].c_str()) : 0);
    bgm.CD_Open();
    int polls = 0;
    Pump(a[3], 200, [&] { return bgm.CD_Check(), ++polls, bgm.CD_Ok(); });
    std::printf("polls %d cd_ok %d\n", polls, bgm.CD_Ok() ? 1 : 0);
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
  std::printf("stopped\n");
  if (a.size() > 5 && a[2] != "cd") Pump(a[5], 0, [] { return true; });
  std::printf("done\n");
  return 0;
}

int Run(const std::vector<std::string>& a) {
  const std::size_t n = a.size();
  const std::string cmd = n > 1 ? a[1] : "";
  auto num = [&](std::size_t i) { return std::atoi(a[i].c_str()); };
  if (cmd == "wait-window" && (n == 4 || n == 5))
    return !WaitFor(num(3), [&] { return n == 4 || IsWindowVisible(Find(a[2])) ? Find(a[2]) : nullptr; });
  if (cmd == "exists" && n == 3) return !Find(a[2]);
  if (cmd == "start" && n == 5) return Start(a[2], a[3], num(4));
  if (cmd == "post" && n == 6) {
    HWND w = Find(a[2]);
    return !(w && PostMessageW(w, static_cast<UINT>(std::stoul(a[3], nullptr, 0)),
                               std::stoull(a[4], nullptr, 0), std::stoll(a[5], nullptr, 0)));
  }
  if (cmd == "msgbox" && n == 4) {
    HWND box = WaitDialog(a[2], num(3));
    if (!box) return 1;
    ForEachWindow(
        [](HWND w) {
          wchar_t cls[16] = {};
          GetClassNameW(w, cls, 16);
          if (_wcsicmp(cls, L"Static") == 0 && !TextOf(w).empty())
            std::printf("%s\n", Utf8(TextOf(w)).c_str());
        },
        box);
    return !PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  if (cmd == "dialogs" && n == 2) {
    ForEachWindow([](HWND w) {
      if (IsDialog(w) && IsWindowVisible(w)) std::printf("%s\n", Utf8(TextOf(w)).c_str());
    });
    return 0;
  }
  if (cmd == "filedialog" && n == 5) {
    HWND dialog = WaitDialog(a[2], num(3));
    // The file name box is 0x47c; the innermost window with that id is its edit field.
    HWND box = nullptr;
    if (dialog) ForEachWindow([&](HWND w) { box = GetDlgCtrlID(w) == 0x47c ? w : box; }, dialog);
    return !(box && SetText(box, a[4]) && PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
  }
  if (((cmd == "at" || cmd == "detach") && n == 5) || ((cmd == "mouse" || cmd == "settext") && n == 6)) {
    HWND top = std::isdigit(static_cast<unsigned char>(a[2][0])) ? Handle(a[2]) : Find(a[2]);
    return IsWindow(top) ? Control(cmd, top, POINT{num(3), num(4)}, n == 6 ? a[5] : "") : 1;
  }
  if (cmd == "parent" && n == 5) return Window(L"HzProbe Parent", num(2), num(3), num(4), true);
  if (cmd == "cursor" && n == 2) {
    CURSORINFO ci{sizeof ci, 0, nullptr, {}};
    return GetCursorInfo(&ci) ? (std::printf("%d\n", (ci.flags & CURSOR_SHOWING) ? 1 : 0), 0) : 1;
  }
  if (cmd == "music" && n >= 4) return Music(a);
  if (cmd == "acp" && n == 2) return std::printf("%u\n", GetACP()), 0;
  if (cmd == "hold" && n >= 4) {
    for (std::size_t i = 3; i < n; ++i) {
      if (CreateFileW(Wide(a[i]).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr) == INVALID_HANDLE_VALUE)
        return std::printf("cannot hold %s: error %lu\n", a[i].c_str(), GetLastError()), 1;
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

// The wide entry point: Japanese titles do not survive the ANSI code page's argv.
int wmain(int argc, wchar_t** argv) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const wchar_t* name = std::wcsrchr(self, L'\\');
  if (_wcsicmp(name ? name + 1 : self, L"hzprobe.exe") != 0) return StandIn(self);
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(Utf8(argv[i]));
  return Run(args);
}
