#include "settings_file.h"

#include <gtest/gtest.h>

#include "paths.h"
#include "profile.h"
#include "support.h"

namespace hz {
namespace {

using testing::Cp932Lead;
using testing::SettingsIni;
using testing::TempDir;

// The program folder as start-up passes it; the INI beside it is a plain file
// named "C:\Prog\Hazumaki.ini" in the test's folder.
constexpr char kFolder[] = "C:\\Prog";
constexpr char kIni[] = "C:\\Prog\\Hazumaki.ini";

TEST(Settings_Load, FollowsTheRulesForEveryKindOfFileContent) {
  TempDir dir;
  const std::string cut = "C:\\" + std::string(248, 'y') + ".mp3";  // 255 bytes
  const std::string sjis = "C:\\Music\\\x95\x5C.mp3";               // a trail byte 0x5C in the name
  for (const std::string& file : {std::string("C:\\Music\\a.mp3"), std::string("C:\\a.mp3"), cut, sjis})
    dir.WriteText(file, "ID3");
  const struct {
    const char* name;
    std::string ini;  // empty: no file at all
    std::int16_t kind, track;
    std::string file, folder;
  } cases[] = {
      {"no file: empty is 0", "", 0, 0, "", kFolder},
      {"kind 2, file exists", SettingsIni(" 2", " 0", "C:\\Music\\a.mp3"), 2, 0, "C:\\Music\\a.mp3",
       "C:\\Music"},
      {"file in a drive's root", SettingsIni(" 2", " 0", "C:\\a.mp3"), 2, 0, "C:\\a.mp3", "C:"},
      {"Shift-JIS name", SettingsIni(" 2", " 0", sjis), 2, 0, sjis, "C:\\Music"},
      {"kind 2 with a missing file", SettingsIni(" 2", " 4", "C:\\Music\\gone.mp3"), 0, 4, "", kFolder},
      {"kind 1 keeps its file", SettingsIni(" 1", " 3", "C:\\a.mp3"), 1, 3, "C:\\a.mp3", "C:"},
      {"not a number leaves the value", SettingsIni("abc", "x", ""), 1, 7, "", kFolder},
      {"out of range leaves the value", SettingsIni("40000", "-32769", ""), 1, 7, "", kFolder},
      {"integer part", SettingsIni("1.9", "2.99", ""), 1, 2, "", kFolder},
      {"negative rounds down", SettingsIni("-1.5", "-0.5", ""), -2, -1, "", kFolder},
      {"edge of range", SettingsIni("32767.9", "-32768", ""), 32767, -32768, "", kFolder},
      {"300-byte path, cut to 255", SettingsIni(" 2", "", "C:\\" + std::string(297, 'x')), 0, 0, "", kFolder},
      {"300-byte path, cut names a file", SettingsIni(" 2", " 0", cut + std::string(45, 'z')), 2, 0, cut,
       "C:"},
      {"garbage bytes", std::string("\xff\xfe[\x00]\n=\n==\n[Section\n\x8B\xE6=\x95", 22), 0, 0, "", kFolder},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(kIni);
    if (!c.ini.empty()) dir.WriteText(kIni, c.ini);
    MusicSettings s;
    s.BGM_Kind = 1;
    s.BGM_RepeatTrack = 7;
    IniFileStore store(Cp932Lead);
    Settings_Load(s, store, kFolder);
    EXPECT_EQ(s.BGM_Kind, c.kind);
    EXPECT_EQ(s.BGM_RepeatTrack, c.track);
    EXPECT_EQ(s.BGM_File, c.file);
    EXPECT_EQ(s.BGM_Folder, c.folder);
  }
}

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
  TempDir dir;
  dir.WriteText("song.mp3", "x");
  dir.WriteText("\x83\x5C", "x");
  EXPECT_TRUE(FileExists("song.mp3"));
  EXPECT_TRUE(FileExists("song.mp3\\"));
  EXPECT_FALSE(FileExists("song.mp3\\\\"));
  EXPECT_FALSE(FileExists("missing.mp3"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(FileExists("\x83\x5C", Cp932Lead));
  EXPECT_TRUE(FileExists("\x83\x5C\\", Cp932Lead));
  EXPECT_FALSE(FileExists("\x83\x5C"));  // byte by byte, the last one is taken for a backslash
}

TEST(IniFileStore, ReadsValuesTrimmedAndUnquotedAndCutToTheBuffer) {
  TempDir dir;
  dir.WriteText("a.ini", "; comment\n[One]\nk= \t v  \t\nq=\"quoted \"\n[Two]\nk=two\r\nlong=" +
                             std::string(400, 'L') + "\n");
  IniFileStore store;
  EXPECT_EQ(Profile_Read(store, "one", "K", "a.ini"), "v");
  EXPECT_EQ(Profile_Read(store, "One", "q", "a.ini"), "quoted ");
  EXPECT_EQ(Profile_Read(store, "Two", "k", "a.ini"), "two");
  EXPECT_EQ(Profile_Read(store, "Two", "long", "a.ini"), std::string(255, 'L'));
  EXPECT_EQ(Profile_Read(store, "Two", "q", "a.ini"), "");
  EXPECT_EQ(Profile_Read(store, "One", "k", "missing.ini"), "");
}

TEST(IniFileStore, WritesInPlaceAndKeepsTheRestOfTheFile) {
  TempDir dir;
  dir.WriteText("a.ini", "[One]\r\nk=1\r\n\r\n[Two]\r\nx=9\r\n");
  IniFileStore store;
  EXPECT_TRUE(Profile_Write(store, "One", "k", " 2", "a.ini"));
  EXPECT_TRUE(Profile_Write(store, "One", "new", "n", "a.ini"));
  EXPECT_TRUE(Profile_Write(store, std::string(200, 's'), std::string(200, 'k'), "", "a.ini"));
  EXPECT_EQ(testing::ReadFile("a.ini"), "[One]\r\nk= 2\r\nnew=n\r\n\r\n[Two]\r\nx=9\r\n[" +
                                            std::string(127, 's') + "]\r\n" + std::string(127, 'k') +
                                            "=\r\n");
  EXPECT_FALSE(Profile_Write(store, "S", "k", "v", "no/such/folder/a.ini"));
}

}  // namespace
}  // namespace hz
