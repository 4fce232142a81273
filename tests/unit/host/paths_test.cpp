#include "paths.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace hz {
namespace {

TEST(DirectoryPart, KeepsUpToTheLastColonOrBackslashWithoutATrailingBackslash) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Music\\a.mp3", "C:\\Music"},
      {"C:\\a.mp3", "C:"},
      {"C:a.mp3", "C:"},
      {"a.mp3", ""},
      {"C:\\Music\\", "C:\\Music"},
      {"", ""},
      {"\\\\server\\share\\x.wav", "\\\\server\\share"},
      {"\\", ""},
  };
  for (const auto& [path, dir] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(DirectoryPart(path), dir);
  }
}

// Code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC; "\x95\x5C" and "\x83\x5C" are two
// characters whose second byte is the backslash's.
bool Cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

TEST(DirectoryPart, WalksShiftJisTextByCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Music\\\x95\x5C.mp3", "C:\\Music"},
      {"C:\\\x83\x5C\\a.mp3", "C:\\\x83\x5C"},
      {"C:\\\x83\x5C", "C:"},
      {"\x83", ""},  // a lead byte cut off at the end
  };
  for (const auto& [path, dir] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(DirectoryPart(path, Cp932Lead), dir);
  }
}

TEST(FileExists, KeepsATrailByteThatLooksLikeABackslash) {
  testing::TempDir dir;
  testing::TempDir::WriteFile("\x83\x5C", "x");
  EXPECT_TRUE(FileExists("\x83\x5C", Cp932Lead));
  EXPECT_TRUE(FileExists("\x83\x5C\\", Cp932Lead));
  EXPECT_FALSE(FileExists("\x83\x5C"));  // byte by byte, the last one is taken for a backslash
}

TEST(FileExists, TellsWhetherTheFileOpensForReadingAfterDroppingOneTrailingBackslash) {
  testing::TempDir dir;
  testing::TempDir::WriteFile("song.mp3", "x");
  EXPECT_TRUE(FileExists("song.mp3"));
  EXPECT_TRUE(FileExists("song.mp3\\"));
  EXPECT_FALSE(FileExists("song.mp3\\\\"));  // only one backslash is dropped
  EXPECT_FALSE(FileExists("missing.mp3"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists("\\"));
}

}  // namespace
}  // namespace hz
