// Entry of Hazumaki.scr: binds start-up to Win32 and runs the message loop.
#include <windows.h>

#include <cstdio>

#include "forms.h"
#include "paths.h"
#include "profile_win32.h"
#include "startup.h"
#include "win32_text.h"

namespace hz::win {
namespace {

class Win32Startup final : public StartupPlatform {
 public:
  explicit Win32Startup(HINSTANCE instance) : instance_(instance) {}

  bool WindowExists(const char* title) override { return FindWindowA(nullptr, title) != nullptr; }
  void MakeDirectory(const std::string& path) override { CreateDirectoryA(path.c_str(), nullptr); }
  ProfileStore& Profiles() override { return profiles_; }
  // Paths built from the program folder are UTF-8 and opened by their wide form.
  bool FileExists(const std::string& path) override {
    std::wstring wide = Widen(path);
    if (!wide.empty() && wide.back() == L'\\') wide.pop_back();
    std::FILE* f = _wfopen(wide.c_str(), L"rb");
    if (f) std::fclose(f);
    return f != nullptr;
  }
  void ShowMessage(const char* text, const char* caption) override {
    MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), MB_OK);
  }
  std::int32_t HideCursor() override { return ShowCursor(FALSE); }
  void ShowPreview(std::int32_t parent) override { ShowPreviewForm(instance_, parent); }
  void ShowSettingsDialog(HostState& host) override { hz::win::ShowSettingsDialog(instance_, host); }
  void StartSession(HostState& host) override { LoadSessionForm(instance_, host); }

 private:
  HINSTANCE instance_;
  Win32ProfileStore profiles_;
};

// The arguments as text: upper-casing and the number reading only look at
// ASCII, and paths never come from the command line.
std::string CommandLineArguments() { return ArgumentsAfterProgram(Narrow(GetCommandLineW())); }

HostState g_host;

}  // namespace
}  // namespace hz::win

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace hz::win;
  g_host.arguments = CommandLineArguments();
  // UTF-8, so that a folder the ANSI code page cannot spell still finds the
  // renderer and the settings file beside the program.
  g_host.programFolder = Narrow(ProgramFolderW());

  Win32Startup platform(instance);
  if (hz::Main(platform, g_host) == hz::MainResult::EndProcess) ExitProcess(0);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ExitProcess(static_cast<UINT>(msg.wParam));
}
