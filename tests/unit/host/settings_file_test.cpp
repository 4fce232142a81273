#include "settings_file.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace hz {
namespace {

using testing::TempDir;

// The program folder as start-up passes it; the INI beside it is a plain file
// named "C:\Prog\Hazumaki.ini" in the test's folder.
constexpr char kFolder[] = "C:\\Prog";
constexpr char kIni[] = "C:\\Prog\\Hazumaki.ini";

std::string Ini(const std::string& kind, const std::string& track, const std::string& file) {
  std::string text = "[Section]\r\n";
  if (!kind.empty()) text += std::string("BGM\x8B\xE6\x95\xAA") + "=" + kind + "\r\n";
  if (!track.empty()) text += std::string("BGM\xD8\xCB\xDF\xB0\xC4") + "=" + track + "\r\n";
  if (!file.empty()) text += std::string("BGM\xCC\xA7\xB2\xD9") + "=" + file + "\r\n";
  return text;
}

struct LoadCase {
  const char* name;
  std::string ini;  // empty: no file at all
  std::int16_t kind, track;
  std::string file, folder;
};

TEST(Settings_Load, FollowsTheRulesForEveryKindOfFileContent) {
  TempDir dir;
  TempDir::WriteFile("C:\\Music\\a.mp3", "ID3");
  TempDir::WriteFile("C:\\a.mp3", "ID3");
  const std::string longPath = "C:\\" + std::string(296, 'x') + ".mp3";

  const LoadCase cases[] = {
      {"no file", "", 0, 0, "", kFolder},
      {"kind 2 with an existing file", Ini(" 2", " 0", "C:\\Music\\a.mp3"), 2, 0, "C:\\Music\\a.mp3", "C:\\Music"},
      {"file in a drive's root", Ini(" 2", " 0", "C:\\a.mp3"), 2, 0, "C:\\a.mp3", "C:"},
      {"kind 2 with a missing file", Ini(" 2", " 0", "C:\\Music\\gone.mp3"), 0, 0, "", kFolder},
      {"kind 2 without a file", Ini(" 2", " 4", ""), 0, 4, "", kFolder},
      {"kind 1 keeps its file", Ini(" 1", " 3", "C:\\Music\\a.mp3"), 1, 3, "C:\\Music\\a.mp3", "C:\\Music"},
      {"not a number", Ini("abc", "x", ""), 0, 0, "", kFolder},
      {"integer part", Ini("1.9", "2.99", ""), 1, 2, "", kFolder},
      {"negative rounds down", Ini("-1.5", "-0.5", ""), -2, -1, "", kFolder},
      {"out of range", Ini("40000", "-32769", ""), 0, 0, "", kFolder},
      {"edge of range", Ini("32767.9", "-32768", ""), 32767, -32768, "", kFolder},
      {"blanks and quotes", Ini("  1  ", "\" 3 \"", ""), 1, 3, "", kFolder},
      {"hexadecimal", Ini("&H2", "&H1E", "C:\\a.mp3"), 2, 30, "C:\\a.mp3", "C:"},
      {"a 300-byte path is cut to 255 bytes and dropped", Ini(" 2", "", longPath), 0, 0, "", kFolder},
      {"garbage bytes", std::string("\xff\xfe[\x00]\n=\n==\n[Section\n\x8B\xE6=\x95", 22), 0, 0, "", kFolder},
      {"keys in another section", "[Other]\r\n" + Ini(" 1", " 5", "").substr(11), 0, 0, "", kFolder},
      {"keys are matched without regard to case",
       "[SECTION]\nbgm\x8B\xE6\x95\xAA = 1\n", 1, 0, "", kFolder},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(kIni);
    if (!c.ini.empty()) TempDir::WriteFile(kIni, c.ini);
    MusicSettings s;
    IniFileStore store;
    Settings_Load(s, store, kFolder);
    EXPECT_EQ(s.BGM_Kind, c.kind);
    EXPECT_EQ(s.BGM_RepeatTrack, c.track);
    EXPECT_EQ(s.BGM_File, c.file);
    EXPECT_EQ(s.BGM_Folder, c.folder);
  }
}

TEST(Settings_Load, ABadValueLeavesTheFieldAsItWas) {
  TempDir dir;
  TempDir::WriteFile(kIni, Ini("abc", "40000", ""));
  MusicSettings s;
  s.BGM_Kind = 1;
  s.BGM_RepeatTrack = 7;
  IniFileStore store;
  Settings_Load(s, store, kFolder);
  EXPECT_EQ(s.BGM_Kind, 1);
  EXPECT_EQ(s.BGM_RepeatTrack, 7);
}

TEST(Settings_Load, AValueCutTo255BytesIsKeptWhenTheCutPathNamesAFile) {
  TempDir dir;
  const std::string cut = "C:\\" + std::string(248, 'y') + ".mp3";
  ASSERT_EQ(cut.size(), 255u);
  TempDir::WriteFile(cut, "ID3");
  TempDir::WriteFile(kIni, Ini(" 2", " 0", cut + std::string(45, 'z')));
  MusicSettings s;
  IniFileStore store;
  Settings_Load(s, store, kFolder);
  EXPECT_EQ(s.BGM_Kind, 2);
  EXPECT_EQ(s.BGM_File, cut);
  EXPECT_EQ(s.BGM_Folder, "C:");
}

// Values read as a Japanese system's narrow profile functions return them.
class ShiftJisStore final : public ProfileStore {
 public:
  std::string ReadString(const std::string& section, const std::string& key, const std::string& file,
                         std::size_t bufferSize) override {
    return ini_.ReadString(section, key, file, bufferSize);
  }
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override {
    return ini_.WriteString(section, key, value, file);
  }
  LeadByteTest LeadBytes() const override {
    return [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
  }

 private:
  IniFileStore ini_;
};

TEST(Settings_Load, CutsTheFolderOfAShiftJisPathByCharacters) {
  TempDir dir;
  const std::string file = "C:\\Music\\\x95\x5C.mp3";  // the second byte of the name's first character is 0x5C
  TempDir::WriteFile(file, "ID3");
  TempDir::WriteFile(kIni, Ini(" 2", " 0", file));
  MusicSettings s;
  ShiftJisStore store;
  Settings_Load(s, store, kFolder);
  EXPECT_EQ(s.BGM_File, file);
  EXPECT_EQ(s.BGM_Folder, "C:\\Music");
}

TEST(ProfileNumber, HasASignPosition) {
  EXPECT_EQ(ProfileNumber(0), " 0");
  EXPECT_EQ(ProfileNumber(1), " 1");
  EXPECT_EQ(ProfileNumber(30), " 30");
  EXPECT_EQ(ProfileNumber(-1), "-1");
  EXPECT_EQ(ProfileNumber(-32768), "-32768");
}

TEST(Settings_Save, WritesTheThreeKeysInOrderAsCodePage932Bytes) {
  TempDir dir;
  MusicSettings s;
  s.BGM_Kind = 1;
  s.BGM_RepeatTrack = 3;
  IniFileStore store;
  Settings_Save(s, store, kFolder);
  EXPECT_EQ(TempDir::ReadFile(kIni),
            "[Section]\r\n"
            "BGM\x8B\xE6\x95\xAA= 1\r\n"
            "BGM\xD8\xCB\xDF\xB0\xC4= 3\r\n"
            "BGM\xCC\xA7\xB2\xD9=\r\n");

  s.BGM_Kind = 2;
  s.BGM_RepeatTrack = -1;
  s.BGM_File = "C:\\My Music\\a b.wav";
  Settings_Save(s, store, kFolder);
  EXPECT_EQ(TempDir::ReadFile(kIni),
            "[Section]\r\n"
            "BGM\x8B\xE6\x95\xAA= 2\r\n"
            "BGM\xD8\xCB\xDF\xB0\xC4=-1\r\n"
            "BGM\xCC\xA7\xB2\xD9=C:\\My Music\\a b.wav\r\n");
}

TEST(Settings_Save, RoundTripsThroughTheLoader) {
  TempDir dir;
  TempDir::WriteFile("C:\\Music\\a.mp3", "ID3");
  MusicSettings saved;
  saved.BGM_Kind = 2;
  saved.BGM_RepeatTrack = 12;
  saved.BGM_File = "C:\\Music\\a.mp3";
  IniFileStore store;
  Settings_Save(saved, store, kFolder);
  MusicSettings loaded;
  Settings_Load(loaded, store, kFolder);
  EXPECT_EQ(loaded.BGM_Kind, 2);
  EXPECT_EQ(loaded.BGM_RepeatTrack, 12);
  EXPECT_EQ(loaded.BGM_File, "C:\\Music\\a.mp3");
  EXPECT_EQ(loaded.BGM_Folder, "C:\\Music");
}

}  // namespace
}  // namespace hz
