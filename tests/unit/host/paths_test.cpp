#include "paths.h"

#include <gtest/gtest.h>

#include "support.h"

namespace hz {
namespace {

using testing::Cp932Lead;

TEST(DirectoryPart, KeepsUpToTheLastColonOrBackslashWalkingShiftJisByCharacters) {
  // clang-format off
  const struct {
    const char *path, *dir;
    LeadByteTest lead;
  } cases[] = {
      {"C:a.mp3", "C:", nullptr}, {"a.mp3", "", nullptr}, {"C:\\Music\\", "C:\\Music", nullptr},
      {"\\\\server\\share\\x.wav", "\\\\server\\share", nullptr},
      {"C:\\Music\\\x95\x5C.mp3", "C:\\Music", Cp932Lead},  // the trail byte 0x5C is no backslash
      {"C:\\\x83\x5C\\a.mp3", "C:\\\x83\x5C", Cp932Lead}, {"C:\\\x83\x5C", "C:", Cp932Lead},
      {"\x83", "", Cp932Lead}};  // a lead byte cut off at the end
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(DirectoryPart(c.path, c.lead), c.dir) << c.path;
}

TEST(FileExists, TellsWhetherTheFileOpensAfterDroppingOneTrailingBackslashOfItsOwn) {
  testing::TempDir dir;
  testing::TempDir::WriteFile("song.mp3", "x");
  testing::TempDir::WriteFile("\x83\x5C", "x");
  EXPECT_TRUE(FileExists("song.mp3"));
  EXPECT_TRUE(FileExists("song.mp3\\"));
  EXPECT_FALSE(FileExists("song.mp3\\\\"));
  EXPECT_FALSE(FileExists("missing.mp3"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(FileExists("\x83\x5C", Cp932Lead));
  EXPECT_TRUE(FileExists("\x83\x5C\\", Cp932Lead));
  EXPECT_FALSE(FileExists("\x83\x5C"));  // byte by byte, the last one is taken for a backslash
}

}  // namespace
}  // namespace hz
