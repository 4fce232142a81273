// What several host tests share: a fresh current folder, in which Windows paths such as
// "C:\Prog\Hazumaki.ini" are plain file names, and the settings file's bytes.
#pragma once

#include <filesystem>
#include <string>

#include "../../common/bitmap_bytes.h"

namespace hz::testing {

class TempDir : public TempFolder {
 public:
  TempDir() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(path()); }
  ~TempDir() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

// The settings file as the host writes it; the keys in code page 932.
inline std::string SettingsIni(const std::string& kind, const std::string& track, const std::string& file) {
  return "[Section]\r\nBGM\x8B\xE6\x95\xAA=" + kind + "\r\nBGM\xD8\xCB\xDF\xB0\xC4=" + track +
         "\r\nBGM\xCC\xA7\xB2\xD9=" + file + "\r\n";
}

// Code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC; in "\x95\x5C" the second byte is the backslash's.
inline bool Cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace hz::testing
