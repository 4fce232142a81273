// A save that cannot be made says so and writes nothing, so the dialog can
// stay open instead of closing over a lost choice.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings_dialog_model.h"
#include "temp_dir.h"

namespace hz {
namespace {

using testing::TempDir;

const std::string kIni = SettingsFilePath(".");

TEST(SettingsSave, AFileThatCannotBeWrittenIsReportedAndNothingIsWritten) {
  TempDir dir;
  std::filesystem::create_directory(kIni);  // fails every write, even for root
  IniFileStore store;
  MusicSettings s;
  s.BGM_Kind = kMusicCd;
  EXPECT_EQ(ConfirmSettings(s, "3", store, "."), ConfirmResult::SaveFailed);
  EXPECT_TRUE(std::filesystem::is_directory(kIni));

  std::filesystem::remove(kIni);  // the user made it writable: the same confirm saves
  EXPECT_EQ(ConfirmSettings(s, "3", store, "."), ConfirmResult::Saved);
  EXPECT_EQ(TempDir::ReadFile(kIni), std::string("[Section]\r\n") + kKeyKind + "= 1\r\n" + kKeyRepeatTrack +
                                         "= 3\r\n" + kKeyFile + "=\r\n");
}

TEST(SettingsSave, AWriteThatFailsAfterTheCheckIsReported) {
  struct FailingStore final : IniFileStore {
    bool WriteString(const std::string&, const std::string&, const std::string&,
                     const std::string&) override {
      return false;
    }
  } store;
  TempDir dir;
  MusicSettings s;
  EXPECT_EQ(ConfirmSettings(s, "", store, "."), ConfirmResult::SaveFailed);
}

}  // namespace
}  // namespace hz
