// A stand-in renderer for the session tests: it records how it was started,
// opens its window titled "Tovira_VC" after a delay, and ends on a close
// request. The host starts it without arguments, so it takes its settings
// from the environment:
//   HZ_STANDIN_DELAY_MS  wait this long before opening the window (default 0)
//   HZ_STANDIN_LOG       append the command line it was started with to this file
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (const std::string log = Env("HZ_STANDIN_LOG"); !log.empty()) {
    if (FILE* f = std::fopen(log.c_str(), "ab")) {
      const std::wstring line = GetCommandLineW();
      std::fprintf(f, "%ls\n", line.c_str());
      std::fclose(f);
    }
  }
  Sleep(static_cast<DWORD>(std::atoi(Env("HZ_STANDIN_DELAY_MS").c_str())));

  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = L"HzStandInRenderer";
  RegisterClassW(&wc);
  CreateWindowExW(0, wc.lpszClassName, L"Tovira_VC", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                  instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
