// The music settings and the file beside the program that keeps them.
#pragma once

#include <cstdint>
#include <string>

#include "profile.h"

namespace hz {

// Kinds of background music.
enum : std::int16_t { kMusicNone = 0, kMusicCd = 1, kMusicFile = 2 };

struct MusicSettings {
  std::int16_t BGM_Kind = 0;         // 0 none, 1 audio CD, 2 MP3 or WAV file
  std::int16_t BGM_RepeatTrack = 0;  // CD track to repeat; 0 = whole disc
  std::string BGM_File;              // music file for kind 2 (ANSI code page)
  // Where the open-file dialog starts; never stored. The program folder
  // (UTF-8, as HostState keeps it) while no file is chosen, else the file's
  // folder in the file's own ANSI code page.
  std::string BGM_Folder;
};

// The file's one section and its three keys, as their exact code page 932
// bytes so the file matches one written on a Japanese system.
inline constexpr char kSettingsSection[] = "Section";
inline constexpr char kKeyKind[] = "BGM\x8B\xE6\x95\xAA";             // BGM区分
inline constexpr char kKeyRepeatTrack[] = "BGM\xD8\xCB\xDF\xB0\xC4";  // BGMﾘﾋﾟｰﾄ
inline constexpr char kKeyFile[] = "BGM\xCC\xA7\xB2\xD9";             // BGMﾌｧｲﾙ

// programFolder + "\Hazumaki.ini"
std::string SettingsFilePath(const std::string& programFolder);

// Fills the settings from the file. Values that are not numbers, or whose
// integer part does not fit 16 bits, leave the field as it was; kind 2 without
// a readable file falls back to no music.
void Settings_Load(MusicSettings& settings, ProfileStore& store, const std::string& programFolder);

// The stored number form: a space before a non-negative number (" 1"), a
// minus sign before a negative one ("-1").
std::string ProfileNumber(std::int16_t value);

// Writes the three keys in their fixed order, whether or not they changed;
// false when any of them could not be written.
bool Settings_Save(const MusicSettings& settings, ProfileStore& store, const std::string& programFolder);

}  // namespace hz
