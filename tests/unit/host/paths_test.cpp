#include "paths.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace hz {
namespace {

TEST(DirectoryPart, KeepsUpToTheLastColonOrBackslashWithoutATrailingBackslash) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Music\\a.mp3", "C:\\Music"}, {"C:\\a.mp3", "C:"},      {"C:a.mp3", "C:"},
      {"a.mp3", ""},                     {"C:\\Music\\", "C:\\Music"}, {"", ""},
      {"\\\\server\\share\\x.wav", "\\\\server\\share"},           {"\\", ""},
  };
  for (const auto& [path, dir] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(DirectoryPart(path), dir);
  }
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
