#include "settings_dialog_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support.h"

namespace hz {
namespace {

using testing::TempDir;

TEST(SettingsDialog, EnablesControlsByKind) {
  // The filled marks, then whether the track list and the file button are enabled.
  const std::pair<std::int16_t, std::string> cases[] = {
      {0, "0----"}, {1, "-1-R-"}, {2, "--2-F"}, {3, "-----"}, {-1, "-----"}};
  for (const auto& [kind, expected] : cases) {
    const ChoiceControls c = ControlsForKind(kind);
    std::string got;
    for (std::size_t i = 0; i < 3; ++i) got += c.markFilled[i] ? static_cast<char>('0' + i) : '-';
    EXPECT_EQ(got + (c.repeatEnabled ? "R" : "-") + (c.fileButtonEnabled ? "F" : "-"), expected) << kind;
  }
}

TEST(SettingsDialog, ShowsAndReadsTheTrackField) {
  EXPECT_EQ(FormatTrack(-7), "-7");
  const std::vector<std::string> entries = TrackEntries();
  ASSERT_EQ(entries.size(), 31u);
  EXPECT_EQ(entries[0], "");
  EXPECT_EQ(entries[30], "30");

  // clang-format off
  const std::pair<const char*, std::optional<std::int16_t>> cases[] = {
      {"", 0}, {"3", 3}, {"2.5", 2}, {"3.5", 4}, {"abc", 0}, {"-32768.5", -32768},
      {"32767.5", std::nullopt}, {"40000", std::nullopt},
      {"\xEF\xBC\x93\xEF\xBC\x8E\xEF\xBC\x95", 4},  // full-width "３．５"
      {"\xE3\x80\x80" "7", 7},                      // ideographic space
      {"\xE5\x8D\x81", 0}};                         // 十: a numeral but not a number here
  // clang-format on
  for (const auto& [text, track] : cases) EXPECT_EQ(TrackFromField(text), track) << text;
}

TEST(SettingsDialog, ConfirmWritesTheThreeLinesOrNothingAtAll) {
  TempDir dir;
  MusicSettings s;
  s.BGM_RepeatTrack = 9;
  s.BGM_File = "C:\\Music\\a.mp3";
  IniFileStore store;
  for (const char* text : {"40000", "1e9"}) {
    EXPECT_EQ(ConfirmSettings(s, text, store, "C:\\Prog"), ConfirmResult::TrackOutOfRange) << text;
    EXPECT_EQ(s.BGM_RepeatTrack, 9);
    EXPECT_EQ(testing::ReadFile("C:\\Prog\\Hazumaki.ini"), "");
  }
  EXPECT_EQ(ConfirmSettings(s, "-2.5", store, "C:\\Prog"), ConfirmResult::Saved);
  EXPECT_EQ(s.BGM_RepeatTrack, -2);
  EXPECT_EQ(testing::ReadFile("C:\\Prog\\Hazumaki.ini"),
            testing::SettingsIni(" 0", "-2", "C:\\Music\\a.mp3"));

  EXPECT_EQ(CheckChosenPath("C:\\Music\\?.mp3", false), ChosenPathCheck::NotRepresentable);
  EXPECT_EQ(CheckChosenPath(std::string(255, 'a'), true), ChosenPathCheck::Accepted);
  EXPECT_EQ(CheckChosenPath(std::string(256, 'a'), true), ChosenPathCheck::TooLong);
}

TEST(SettingsDialog, SitsCentredWithAThirdOfTheFreeHeightAboveOverItsSineGradient) {
  // 7845 twips halved without remainder: 3922 twips = 261.47 px; larger than the screen: towards zero.
  const std::array<int, 6> cases[] = {
      {1024, 768, 502, 272, 261, 165}, {1024, 768, 501, 271, 261, 166}, {400, 200, 502, 272, -51, -24}};
  for (const auto& [sw, sh, ww, wh, left, top] : cases) {
    const Placement p = PlaceDialog(sw, sh, ww, wh);
    EXPECT_EQ(std::make_pair(p.left, p.top), std::make_pair(left, top)) << sw << "x" << sh;
  }

  const std::vector<int> rows = SineGradientRows(243);
  ASSERT_EQ(rows.size(), 244u);  // 0..H, both included
  EXPECT_EQ(rows[121], 220);
  EXPECT_EQ(rows[243], 0);
  EXPECT_EQ(FormGradientColour(0).blue, 30);
  EXPECT_EQ(PanelGradientColour(220).red, 250);
}

// A save that cannot be made says so and writes nothing, so the dialog can
// stay open instead of closing over a lost choice.
TEST(SettingsDialog, ReportsASaveThatCannotBeMadeAndWritesNothing) {
  TempDir dir;
  const std::string ini = SettingsFilePath(".");
  std::filesystem::create_directory(ini);  // fails every write, even for root
  IniFileStore store;
  MusicSettings s;
  s.BGM_Kind = kMusicCd;
  EXPECT_EQ(ConfirmSettings(s, "3", store, "."), ConfirmResult::SaveFailed);
  EXPECT_TRUE(std::filesystem::is_directory(ini));

  std::filesystem::remove(ini);  // made writable: the same confirm saves
  EXPECT_EQ(ConfirmSettings(s, "3", store, "."), ConfirmResult::Saved);
  EXPECT_EQ(testing::ReadFile(ini), testing::SettingsIni(" 1", " 3", ""));

  struct FailingStore final : IniFileStore {
    bool WriteString(const std::string&, const std::string& key, const std::string&,
                     const std::string&) override {
      return key != kKeyFile;
    }
  } failing;  // passes the check, then the last of the three writes fails anyway
  EXPECT_EQ(ConfirmSettings(s, "3", failing, "."), ConfirmResult::SaveFailed);

  struct RefusingStore final : IniFileStore {
    bool CanWrite(const std::string&) override { return false; }
  } refusing;  // knows beforehand: not one key may be written
  std::filesystem::remove(ini);
  EXPECT_EQ(ConfirmSettings(s, "3", refusing, "."), ConfirmResult::SaveFailed);
  EXPECT_FALSE(std::filesystem::exists(ini));
}

}  // namespace
}  // namespace hz
