// The settings file on Windows: our own INI reader and writer, opened by its
// wide path so that the program may live in any folder, whatever the ANSI
// code page can spell. The narrow profile functions cannot open such a path,
// and their wide forms do not keep the keys' code page 932 bytes everywhere.
#pragma once

#include "profile.h"

namespace hz::win {

class Win32ProfileStore final : public IniFileStore {
 public:
  Win32ProfileStore();

 protected:
  // `file` is UTF-8, like every path the host builds from its program folder.
  std::FILE* OpenFile(const std::string& file, const char* mode) override;
};

}  // namespace hz::win
