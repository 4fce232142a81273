#include "music.h"

#include <gtest/gtest.h>

#include "fake_music_device.h"

namespace hz {
namespace {

using testing::FakeMusicDevice;
using Commands = std::vector<std::string>;

const std::vector<int> kDisc = {3, 4, 5, 3, 6};  // seconds per track
const Commands kStatus = {"status cdaudio current track", "status cdaudio number of tracks",
                          "status cdaudio mode"};

Commands StatusThen(Commands more) {
  more.insert(more.begin(), kStatus.begin(), kStatus.end());
  return more;
}
Commands Seek(int track) {
  return StatusThen({"status cdaudio position track " + std::to_string(track),
                     "play cdaudio from 0" + std::to_string(track) + ":00:00:00"});
}

struct Music : ::testing::Test {
  // Opens the disc; playing starts only at the first poll.
  void OpenCd(int repeat) {
    device.InsertDisc(kDisc);
    settings.BGM_RepeatTrack = static_cast<std::int16_t>(repeat);
    bgm.CD_Open();
    EXPECT_EQ(device.TakeCommands(), (Commands{"open cdaudio", "set cdaudio time format tmsf"}));
    EXPECT_FALSE(device.cdPlaying);
  }
  // One tick of the session's 200 ms CD timer; what it sent.
  Commands Poll() {
    device.Advance(200);
    bgm.CD_Check();
    return device.TakeCommands();
  }
  void QuietPolls(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(Poll(), kStatus) << "poll " << i;
  }

  FakeMusicDevice device;
  MusicSettings settings;
  Tovira_BGM bgm{device, settings};
};

TEST_F(Music, ARepeatTrackIsSoughtOnTheFirstPollAndAgainWhenItHasEnded) {
  // Track 4 follows track 3; the disc stops after track 5.
  for (int track : {3, 5}) {
    SCOPED_TRACE(track);
    OpenCd(track);
    EXPECT_EQ(Poll(), Seek(track));
    QuietPolls(kDisc[static_cast<std::size_t>(track - 1)] * 5 - 1);
    EXPECT_EQ(Poll(), Seek(track));
    EXPECT_TRUE(bgm.CD_Ok());
    EXPECT_TRUE(device.cdPlaying);
    EXPECT_EQ(device.CurrentTrack(), track);
  }
}

TEST_F(Music, TheWholeDiscIsPlayedOnlyWhenTheDriveReportsStopped) {
  OpenCd(0);
  EXPECT_EQ(Poll(), StatusThen({"play cdaudio"}));
  QuietPolls(21 * 5 - 1);
  EXPECT_EQ(Poll(), StatusThen({"play cdaudio"}));
  EXPECT_EQ(device.CurrentTrack(), 1);
}

TEST_F(Music, ARepeatTrackTheDiscLacksIsRetriedOnEveryPoll) {
  OpenCd(7);
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(Poll(), StatusThen({"status cdaudio position track 7", "play cdaudio from Error:282"}));
    ASSERT_TRUE(bgm.CD_Ok());
  }
  EXPECT_FALSE(device.cdPlaying);
}

TEST_F(Music, ADriveThatCannotAnswerEndsThePollOnTheFirstTick) {
  for (auto drive : {FakeMusicDevice::Drive::Empty, FakeMusicDevice::Drive::None}) {
    for (std::int16_t repeat : {std::int16_t{0}, std::int16_t{3}}) {
      device.drive = drive;
      settings.BGM_RepeatTrack = repeat;
      bgm.CD_Open();
      device.TakeCommands();
      bgm.CD_Check();
      EXPECT_FALSE(bgm.CD_Ok());
      EXPECT_EQ(device.TakeCommands(), Commands{"status cdaudio current track"});
    }
  }
}

TEST_F(Music, AnUnusableAnswerEndsThePoll) {
  const struct {
    const char* command;
    std::pair<std::uint32_t, std::string> answer;
    std::size_t sent;
  } cases[] = {
      {"status cdaudio number of tracks", {testing::kMciNotReady, ""}, 2},
      {"status cdaudio current track", {0, "drive error"}, 1},  // "ERR" in any case
      {"status cdaudio current track", {0, "n/a"}, 3},          // not a track number
      {"status cdaudio current track", {0, ""}, 3},
  };
  OpenCd(3);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.second);
    device.answers = {{c.command, c.answer}};
    EXPECT_EQ(Poll(), Commands(kStatus.begin(), kStatus.begin() + static_cast<std::ptrdiff_t>(c.sent)));
    EXPECT_FALSE(bgm.CD_Ok());
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

  device.TakeCommands();
  EXPECT_EQ(bgm.MCI_Play("cdaudio", "", "04"), 263);
  bgm.MCI_Play("cdaudio", "03", "04");
  EXPECT_EQ(device.TakeCommands(), (Commands{"play cdaudio to 04", "play cdaudio from 03 to 04"}));
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
  device.InsertDisc(kDisc);
  settings.BGM_RepeatTrack = 2;
  settings.BGM_File = "C:\\My Music\\a b.mp3";
  bgm.CD_Open();
  bgm.CD_Check();
  bgm.CD_Close();
  EXPECT_FALSE(device.cdPlaying);
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
  for (std::uint32_t devices : {0u, 2u}) {
    device.sounds.clear();
    device.waveDevices = devices;
    bgm.WAV_Play();
    bgm.WAV_Stop();
    decltype(device.sounds) expected;
    if (devices > 0) expected.emplace_back("C:\\My Music\\loop.wav", 0x000Bu);  // ASYNC | NODEFAULT | LOOP
    expected.emplace_back(std::nullopt, 0u);
    EXPECT_EQ(device.sounds, expected);
  }
  EXPECT_TRUE(device.sent.empty());
}

TEST(MusicFileType, IsTheLastThreeCharactersUpperCased) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\a b\\song.mp3", "MP3"}, {"song.Wav", "WAV"}, {"song.ogg", "OGG"}, {"mp3", "MP3"}, {"ab", "AB"},
      {"", ""}, {"song.mp3 ", "P3 "}};
  // clang-format on
  for (const auto& [file, type] : cases) EXPECT_EQ(MusicFileType(file), type) << file;
}

}  // namespace
}  // namespace hz
