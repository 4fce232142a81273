#include "settings_file.h"

#include "conversions.h"
#include "paths.h"

namespace hz {
namespace {

// Empty is 0; a number stores its integer part; anything else keeps `field`.
void LoadNumber(std::int16_t& field, const std::string& text) {
  if (text.empty()) {
    field = 0;
    return;
  }
  if (const auto number = ParseWholeNumber(text))
    if (const auto value = FloorToInt16(*number)) field = *value;
}

}  // namespace

std::string SettingsFilePath(const std::string& programFolder) { return programFolder + "\\Hazumaki.ini"; }

void Settings_Load(MusicSettings& s, ProfileStore& store, const std::string& programFolder) {
  const std::string ini = SettingsFilePath(programFolder);
  LoadNumber(s.BGM_Kind, Profile_Read(store, kSettingsSection, kKeyKind, ini));
  LoadNumber(s.BGM_RepeatTrack, Profile_Read(store, kSettingsSection, kKeyRepeatTrack, ini));

  s.BGM_File = Profile_Read(store, kSettingsSection, kKeyFile, ini);
  if (!s.BGM_File.empty() && !FileExists(s.BGM_File, store.LeadBytes())) s.BGM_File.clear();
  if (s.BGM_File.empty() && s.BGM_Kind == kMusicFile) s.BGM_Kind = kMusicNone;

  s.BGM_Folder = s.BGM_File.empty() ? programFolder : DirectoryPart(s.BGM_File, store.LeadBytes());
}

std::string ProfileNumber(std::int16_t value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

bool Settings_Save(const MusicSettings& s, ProfileStore& store, const std::string& programFolder) {
  const std::string ini = SettingsFilePath(programFolder);
  bool ok = Profile_Write(store, kSettingsSection, kKeyKind, ProfileNumber(s.BGM_Kind), ini);
  ok &= Profile_Write(store, kSettingsSection, kKeyRepeatTrack, ProfileNumber(s.BGM_RepeatTrack), ini);
  ok &= Profile_Write(store, kSettingsSection, kKeyFile, s.BGM_File, ini);
  return ok;
}

}  // namespace hz
