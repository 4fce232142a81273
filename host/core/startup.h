// Start-up and mode dispatch of the screensaver host.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "command_line.h"
#include "names.h"
#include "profile.h"
#include "settings_file.h"

namespace hz {

inline constexpr char kApplicationTitle[] = "Hazumaki";
inline constexpr char kMissingRendererMessage[] = "Hazumaki.dll が同じﾌｫﾙﾀﾞに見つかりません！";

// Values the host's parts share for the life of the process.
struct HostState {
  MusicSettings music;
  std::int16_t Cursor_X = 0;  // cursor point captured by the settings dialog
  std::int16_t Cursor_Y = 0;
  std::optional<std::int32_t> Cursor_Count;  // set only when saver mode hid the cursor
  std::string arguments;                     // the command line after the program path
  std::string programFolder;                 // UTF-8, without a trailing backslash
};

// What start-up needs from the platform.
class StartupPlatform {
 public:
  virtual ~StartupPlatform() = default;
  virtual bool WindowExists(const char* title) = 0;
  virtual void MakeDirectory(const std::string& path) = 0;
  virtual ProfileStore& Profiles() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual void ShowMessage(const char* textUtf8, const char* captionUtf8) = 0;
  virtual std::int32_t HideCursor() = 0;  // ShowCursor(FALSE): the new display count
  virtual void ShowPreview(std::int32_t parentHandle) = 0;
  virtual void ShowSettingsDialog(HostState& host) = 0;  // modal
  virtual void StartSession(HostState& host) = 0;        // loads the hidden session form
};

enum class MainResult {
  EndProcess,  // nothing further runs: end the process now
  KeepRunning  // a form carries the process on through the message loop
};

// The whole start routine; `host.arguments` and `host.programFolder` are set
// by the caller.
MainResult Main(StartupPlatform& platform, HostState& host);

}  // namespace hz
