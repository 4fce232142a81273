// Any bytes as the settings file beside the program.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The program folder is a plain name in a private folder, so the INI beside
  // it is one file we overwrite for every input.
  static char folder[] = "/tmp/hazumaki-fuzz-XXXXXX";
  static const bool inFolder = mkdtemp(folder) && chdir(folder) == 0;
  if (!inFolder) __builtin_trap();
  const std::string program = "C:\\Prog";
  if (std::FILE* f = std::fopen(hz::SettingsFilePath(program).c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  hz::IniFileStore store;
  hz::MusicSettings s;
  hz::Settings_Load(s, store, program);
  // What the rest of the host relies on after a load.
  if (s.BGM_File.size() > 255) __builtin_trap();
  if (s.BGM_Kind == hz::kMusicFile && s.BGM_File.empty()) __builtin_trap();
  if (s.BGM_File.empty() && s.BGM_Folder != program) __builtin_trap();
  // Saving what was loaded and loading it again gives the same settings.
  hz::Settings_Save(s, store, program);
  hz::MusicSettings again;
  hz::Settings_Load(again, store, program);
  if (again.BGM_Kind != s.BGM_Kind || again.BGM_RepeatTrack != s.BGM_RepeatTrack) __builtin_trap();
  return 0;
}
