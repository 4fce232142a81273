#include "music.h"

#include <gtest/gtest.h>

#include "fake_music_device.h"

namespace hz {
namespace {

using testing::FakeMusicDevice;
using Commands = std::vector<std::string>;

struct Music : ::testing::Test {
  FakeMusicDevice device;
  MusicSettings settings;
  Tovira_BGM bgm{device, settings};
};

TEST_F(Music, TheCdPollPlaysRepeatsOrGivesUp) {
  const Commands status = {"status cdaudio current track", "status cdaudio number of tracks",
                           "status cdaudio mode"};
  const auto seek = [](const char* track) {
    return Commands{std::string("status cdaudio position track ") + track,
                    std::string("play cdaudio from 0") + track + ":00:00:00"};
  };
  const struct {
    const char* name;
    std::int16_t repeat;
    const char *current, *mode, *failing, *reply;  // one status command answered otherwise
    std::size_t statusSent;
    Commands then;
    bool ok;
  } rows[] = {
      // clang-format off
      {"repeat track playing", 3, "3", "playing", nullptr, "", 3, {}, true},
      {"first poll, drive idle at track 1", 3, "1", "stopped", nullptr, "", 3, seek("3"), true},
      {"drive moved on to the next track", 3, "4", "playing", nullptr, "", 3, seek("3"), true},
      {"stopped after the last track", 5, "5", "stopped", nullptr, "", 3, seek("5"), true},
      {"whole disc stopped", 0, "5", "stopped", nullptr, "", 3, {"play cdaudio"}, true},
      {"whole disc playing", 0, "2", "playing", nullptr, "", 3, {}, true},
      {"a track the disc lacks is retried", 7, "1", "stopped", nullptr, "", 3,
       {"status cdaudio position track 7", "play cdaudio from Error:263"}, true},
      {"no disc", 0, "1", "stopped", "status cdaudio current track", nullptr, 1, {}, false},
      {"no track count", 3, "1", "stopped", "status cdaudio number of tracks", nullptr, 2, {}, false},
      {"an error in any case", 3, "1", "stopped", "status cdaudio current track", "drive error", 1, {}, false},
      {"a track that is no number", 3, "n/a", "playing", nullptr, "", 3, {}, false},
      {"no track at all", 3, "", "playing", nullptr, "", 3, {}, false},
      // clang-format on
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    device.Disc(r.current, r.mode);
    if (r.failing) device.answers[r.failing] = {r.reply ? 0 : testing::kMciNotReady, r.reply ? r.reply : ""};
    settings.BGM_RepeatTrack = r.repeat;
    bgm.CD_Check();
    Commands expected(status.begin(), status.begin() + static_cast<std::ptrdiff_t>(r.statusSent));
    expected.insert(expected.end(), r.then.begin(), r.then.end());
    EXPECT_EQ(device.TakeCommands(), expected);
    EXPECT_EQ(bgm.CD_Ok(), r.ok);
  }
}

TEST_F(Music, CommandsGiveTheReplyTheErrorTextOrAFixedText) {
  std::string message;
  EXPECT_EQ(bgm.MCI_Command("", message), -1);
  EXPECT_EQ(message, "コマンド文字列が指定されていません");
  EXPECT_EQ(bgm.MCI_Query(""), "Error:-1");
  EXPECT_TRUE(device.sent.empty());

  EXPECT_EQ(bgm.MCI_Command("status nothing mode", message), 263);
  EXPECT_EQ(message, "MCI error 263.");
  EXPECT_EQ(device.errorTextSize, 256u);
  device.errorTextFails = true;
  EXPECT_EQ(bgm.MCI_Command("status nothing mode", message), 263);
  EXPECT_EQ(message, "Error (文字列が取れません)");
  EXPECT_EQ(bgm.MCI_Query("status nothing mode"), "Error:263");
}

TEST_F(Music, RepliesAreTakenUpToTheFirstNulAndNeverPastTheBuffer) {
  device.answers["status cdaudio current track"] = {0, std::string("3\0junk", 6)};
  device.answers["info cdaudio product"] = {0, std::string(600, 'x')};
  EXPECT_EQ(bgm.MCI_Query("status cdaudio current track"), "3");
  EXPECT_EQ(bgm.MCI_Query("info cdaudio product"), std::string(512, 'x'));
  device.answers["status cdaudio current track"] = {0, "4"};  // nothing of the longer reply before shows
  EXPECT_EQ(bgm.MCI_Query("status cdaudio current track"), "4");
}

TEST_F(Music, EachCommandCarriesItsBufferSizeAndTheFileLoops) {
  device.Disc("1", "stopped");
  settings.BGM_RepeatTrack = 2;
  settings.BGM_File = "C:\\My Music\\a b.mp3";
  bgm.CD_Open();
  bgm.CD_Check();
  bgm.CD_Close();
  device.answers["open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play"] = {0, ""};
  device.answers["status MP3Play mode"] = {0, std::string("playing", 8)};
  bgm.MP3_Open();
  bgm.MP3_Check();
  device.answers["status MP3Play mode"] = {0, std::string("stopped", 8)};
  bgm.MP3_Check();  // ended: played again from its start
  bgm.MP3_Close();
  // clang-format off
  const std::vector<std::pair<std::string, std::uint32_t>> expected = {
      {"open cdaudio", 0}, {"set cdaudio time format tmsf", 0},
      {"status cdaudio current track", 512}, {"status cdaudio number of tracks", 512}, {"status cdaudio mode", 255},
      {"status cdaudio position track 2", 512}, {"play cdaudio from 02:00:00:00", 512},
      {"stop cdaudio", 0}, {"close cdaudio", 0},
      {"open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play", 0}, {"play MP3Play", 0},
      {"status MP3Play mode", 30}, {"status MP3Play mode", 30}, {"stop MP3Play", 0}, {"play MP3Play from 0", 0},
      {"stop MP3Play", 0}, {"close MP3Play", 0}};
  // clang-format on
  EXPECT_EQ(device.sent, expected);
}

TEST_F(Music, OnlyAModeBeginningWithPlayingCountsAsPlaying) {
  const std::pair<std::string, bool> cases[] = {{"playing", true},  {"playing back", true},
                                                {"stopped", false}, {"Playing", false},
                                                {"play", false},    {std::string("playin\0g", 8), false}};
  for (const auto& [reply, playing] : cases) {
    SCOPED_TRACE(reply);
    device.answers["status MP3Play mode"] = {0, reply + std::string(1, '\0')};
    EXPECT_EQ(bgm.MP3_IsPlaying(), playing);
    device.TakeCommands();
    bgm.MP3_Check();
    EXPECT_EQ(device.TakeCommands().size(), playing ? 1u : 3u);
  }
}

TEST_F(Music, AWavFileLoopsWithoutTheDefaultSoundAndOnlyWithAWaveDevice) {
  settings.BGM_File = "C:\\My Music\\loop.wav";
  device.waveDevices = 0;
  bgm.WAV_Play();
  device.waveDevices = 2;
  bgm.WAV_Play();
  bgm.WAV_Stop();
  EXPECT_EQ(device.sounds,
            (decltype(device.sounds){{"C:\\My Music\\loop.wav", 0x000Bu},  // ASYNC | NODEFAULT | LOOP
                                     {std::nullopt, 0u}}));
  EXPECT_TRUE(device.sent.empty());
}

}  // namespace
}  // namespace hz
