#include "profile_win32.h"

#include <windows.h>

#include "win32_text.h"

namespace hz::win {

// Values are kept as the bytes the file holds: paths in the ANSI code page.
Win32ProfileStore::Win32ProfileStore() : IniFileStore(IsAnsiLeadByte) {}

std::FILE* Win32ProfileStore::OpenFile(const std::string& file, const char* mode) {
  return _wfopen(Widen(file).c_str(), Widen(mode).c_str());
}

}  // namespace hz::win
