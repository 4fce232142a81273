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
  return "[Section]\r\nBGM\x8B\xE6\x95\xAA=" + kind + "\r\nBGM\xD8\xCB\xDF\xB0\xC4=" + track +
         "\r\nBGM\xCC\xA7\xB2\xD9=" + file + "\r\n";
}

TEST(Settings_Load, FollowsTheRulesForEveryKindOfFileContent) {
  TempDir dir;
  const std::string cut = "C:\\" + std::string(248, 'y') + ".mp3";  // 255 bytes
  for (const char* file : {"C:\\Music\\a.mp3", "C:\\a.mp3", cut.c_str()}) TempDir::WriteFile(file, "ID3");
  const struct {
    const char* name;
    std::string ini;  // empty: no file at all
    std::int16_t kind, track;
    std::string file, folder;
  } cases[] = {
      {"no file: empty is 0", "", 0, 0, "", kFolder},
      {"kind 2, file exists", Ini(" 2", " 0", "C:\\Music\\a.mp3"), 2, 0, "C:\\Music\\a.mp3", "C:\\Music"},
      {"file in a drive's root", Ini(" 2", " 0", "C:\\a.mp3"), 2, 0, "C:\\a.mp3", "C:"},
      {"kind 2 with a missing file", Ini(" 2", " 4", "C:\\Music\\gone.mp3"), 0, 4, "", kFolder},
      {"kind 1 keeps its file", Ini(" 1", " 3", "C:\\Music\\a.mp3"), 1, 3, "C:\\Music\\a.mp3", "C:\\Music"},
      {"not a number leaves the value", Ini("abc", "x", ""), 1, 7, "", kFolder},
      {"out of range leaves the value", Ini("40000", "-32769", ""), 1, 7, "", kFolder},
      {"integer part", Ini("1.9", "2.99", ""), 1, 2, "", kFolder},
      {"negative rounds down", Ini("-1.5", "-0.5", ""), -2, -1, "", kFolder},
      {"edge of range", Ini("32767.9", "-32768", ""), 32767, -32768, "", kFolder},
      {"300-byte path, cut to 255", Ini(" 2", "", "C:\\" + std::string(297, 'x')), 0, 0, "", kFolder},
      {"300-byte path, cut names a file", Ini(" 2", " 0", cut + std::string(45, 'z')), 2, 0, cut, "C:"},
      {"garbage bytes", std::string("\xff\xfe[\x00]\n=\n==\n[Section\n\x8B\xE6=\x95", 22), 0, 0, "", kFolder},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(kIni);
    if (!c.ini.empty()) TempDir::WriteFile(kIni, c.ini);
    MusicSettings s;
    s.BGM_Kind = 1;
    s.BGM_RepeatTrack = 7;
    IniFileStore store;
    Settings_Load(s, store, kFolder);
    EXPECT_EQ(s.BGM_Kind, c.kind);
    EXPECT_EQ(s.BGM_RepeatTrack, c.track);
    EXPECT_EQ(s.BGM_File, c.file);
    EXPECT_EQ(s.BGM_Folder, c.folder);
  }
}

// Values read as a Japanese system's narrow profile functions return them.
class ShiftJisStore final : public ProfileStore {
 public:
  std::string ReadString(const std::string& section, const std::string& key, const std::string& file,
                         std::size_t bufferSize) override {
    return ini_.ReadString(section, key, file, bufferSize);
  }
  bool WriteString(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  LeadByteTest LeadBytes() const override {
    return [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
  }

 private:
  IniFileStore ini_;
};

TEST(Settings_Load, CutsTheFolderOfAShiftJisPathByCharacters) {
  TempDir dir;
  const std::string file =
      "C:\\Music\\\x95\x5C.mp3";  // the second byte of the name's first character is 0x5C
  TempDir::WriteFile(file, "ID3");
  TempDir::WriteFile(kIni, Ini(" 2", " 0", file));
  MusicSettings s;
  ShiftJisStore store;
  Settings_Load(s, store, kFolder);
  EXPECT_EQ(s.BGM_File, file);
  EXPECT_EQ(s.BGM_Folder, "C:\\Music");
}

TEST(Settings_Save, WritesTheThreeKeysInOrderAsCodePage932BytesInTheNumberForm) {
  TempDir dir;
  MusicSettings s;
  s.BGM_Kind = 1;
  s.BGM_RepeatTrack = 3;
  IniFileStore store;
  Settings_Save(s, store, kFolder);
  EXPECT_EQ(TempDir::ReadFile(kIni), Ini(" 1", " 3", ""));
  s.BGM_Kind = 0;
  s.BGM_RepeatTrack = -1;
  s.BGM_File = "C:\\My Music\\a b.wav";
  Settings_Save(s, store, kFolder);
  EXPECT_EQ(TempDir::ReadFile(kIni), Ini(" 0", "-1", "C:\\My Music\\a b.wav"));
}

}  // namespace
}  // namespace hz
