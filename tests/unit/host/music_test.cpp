#include "music.h"

#include <gtest/gtest.h>

#include "fake_music_device.h"

namespace hz {
namespace {

using testing::FakeMusicDevice;
using Commands = std::vector<std::string>;

constexpr int kPollMs = 200;
constexpr int kCheckMs = 1000;
// A 5-track disc; track 3 lasts 5 s and track 5 6 s.
const std::vector<int> kDisc = {3, 4, 5, 3, 6};

const Commands kStatusTriple = {"status cdaudio current track", "status cdaudio number of tracks",
                                "status cdaudio mode"};

Commands StatusThen(const Commands& more) {
  Commands out = kStatusTriple;
  out.insert(out.end(), more.begin(), more.end());
  return out;
}

class CdTest : public ::testing::Test {
 protected:
  CdTest() { device.InsertDisc(kDisc); }

  // One tick of the session's CD timer; returns what the poll sent.
  Commands Poll() {
    device.Advance(kPollMs);
    device.sent.clear();
    bgm.CD_Check();
    return device.TakeCommands();
  }

  // Runs the session's timer: it stays enabled while CD_Ok holds.
  int PollsUntilStopped(int limit) {
    int polls = 0;
    do {
      Poll();
      ++polls;
    } while (bgm.CD_Ok() && polls < limit);
    return polls;
  }

  FakeMusicDevice device;
  MusicSettings settings;
  Tovira_BGM bgm{device, settings};
};

TEST_F(CdTest, OpenSetsTheTimeFormatAndStartsNothing) {
  bgm.CD_Open();
  EXPECT_EQ(device.Commands(), (Commands{"open cdaudio", "set cdaudio time format tmsf"}));
  EXPECT_FALSE(device.CdPlaying());
}

TEST_F(CdTest, RepeatTrack3SeeksToItOnTheFirstPollAndBackWhenTrack4Begins) {
  settings.BGM_RepeatTrack = 3;
  bgm.CD_Open();
  EXPECT_EQ(Poll(), StatusThen({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}));
  EXPECT_TRUE(bgm.CD_Ok());
  EXPECT_EQ(device.CurrentTrack(), 3);

  const int pollsInTrack3 = kDisc[2] * 1000 / kPollMs;
  for (int i = 1; i < pollsInTrack3; ++i) ASSERT_EQ(Poll(), kStatusTriple) << "poll " << i;
  EXPECT_EQ(Poll(), StatusThen({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}))
      << "the poll that finds track 4 seeks back";
  EXPECT_EQ(device.CurrentTrack(), 3);
  EXPECT_TRUE(device.CdPlaying());
}

TEST_F(CdTest, RepeatTrack5RestartsItAfterTheDiscHasStopped) {
  settings.BGM_RepeatTrack = 5;
  bgm.CD_Open();
  EXPECT_EQ(Poll(), StatusThen({"status cdaudio position track 5", "play cdaudio from 05:00:00:00"}));

  // The last track runs to the end; the drive stops there, still on track 5.
  const int pollsInTrack5 = kDisc[4] * 1000 / kPollMs;
  for (int i = 1; i < pollsInTrack5; ++i) ASSERT_EQ(Poll(), kStatusTriple) << "poll " << i;
  EXPECT_EQ(Poll(), StatusThen({"status cdaudio position track 5", "play cdaudio from 05:00:00:00"}));
  EXPECT_TRUE(device.CdPlaying());
  EXPECT_EQ(device.CurrentTrack(), 5);
}

TEST_F(CdTest, WholeDiscIsPlayedOnlyWhenTheDriveReportsStopped) {
  bgm.CD_Open();
  EXPECT_EQ(Poll(), StatusThen({"play cdaudio"}));

  int discMs = 0;
  for (int t : kDisc) discMs += t * 1000;
  const int pollsPerDisc = discMs / kPollMs;
  for (int round = 0; round < 2; ++round) {
    for (int i = 1; i < pollsPerDisc; ++i)
      ASSERT_EQ(Poll(), kStatusTriple) << "round " << round << " poll " << i;
    EXPECT_EQ(Poll(), StatusThen({"play cdaudio"})) << "the poll after the disc ended, round " << round;
    EXPECT_TRUE(device.CdPlaying());
    EXPECT_EQ(device.CurrentTrack(), 1);
  }
}

TEST_F(CdTest, ADriveThatCannotAnswerEndsThePollingAfterOneTick) {
  struct Case {
    const char* name;
    void (FakeMusicDevice::*setUp)();
  };
  for (const Case& c : {Case{"empty drive", &FakeMusicDevice::EmptyDrive},
                        Case{"no drive at all", &FakeMusicDevice::RemoveDrive}}) {
    SCOPED_TRACE(c.name);
    for (int repeat : {0, 3}) {
      FakeMusicDevice dev;
      (dev.*c.setUp)();
      MusicSettings s;
      s.BGM_RepeatTrack = static_cast<std::int16_t>(repeat);
      Tovira_BGM module(dev, s);
      module.CD_Open();
      dev.sent.clear();
      int polls = 0;
      do {
        dev.Advance(kPollMs);
        module.CD_Check();
        ++polls;
      } while (module.CD_Ok() && polls < 20);
      EXPECT_EQ(polls, 1);
      EXPECT_FALSE(module.CD_Ok());
      EXPECT_EQ(dev.Commands(), Commands{"status cdaudio current track"});
    }
  }
}

TEST_F(CdTest, AnUnusableAnswerEndsThePoll) {
  struct Case {
    const char* name;
    std::string command;
    FakeMusicDevice::Answer answer;
    Commands sent;
  };
  const Case cases[] = {
      {"track count fails",
       "status cdaudio number of tracks",
       {testing::kMciDeviceNotReady, ""},
       {"status cdaudio current track", "status cdaudio number of tracks"}},
      {"a reply that says error in lower case",
       "status cdaudio current track",
       {0, "drive error"},
       {"status cdaudio current track"}},
      {"current track not a number", "status cdaudio current track", {0, "n/a"}, kStatusTriple},
      {"current track empty", "status cdaudio current track", {0, ""}, kStatusTriple},
  };
  settings.BGM_RepeatTrack = 3;
  bgm.CD_Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    device.answers = {{c.command, c.answer}};
    EXPECT_EQ(Poll(), c.sent);
    EXPECT_FALSE(bgm.CD_Ok());
  }
}

TEST_F(CdTest, ARepeatTrackTheDiscLacksIsRetriedOnEveryPoll) {
  settings.BGM_RepeatTrack = 7;
  bgm.CD_Open();
  const std::string outOfRange = "Error:" + std::to_string(testing::kMciOutOfRange);
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(Poll(), StatusThen({"status cdaudio position track 7", "play cdaudio from " + outOfRange}));
    ASSERT_TRUE(bgm.CD_Ok());
  }
  EXPECT_FALSE(device.CdPlaying());
}

TEST_F(CdTest, CloseStopsTheDriveBeforeClosingIt) {
  bgm.CD_Open();
  Poll();
  ASSERT_TRUE(device.CdPlaying());
  device.sent.clear();
  bgm.CD_Close();
  EXPECT_EQ(device.Commands(), (Commands{"stop cdaudio", "close cdaudio"}));
  EXPECT_FALSE(device.CdPlaying());
}

TEST(MCI_Command, AnEmptyCommandIsRefusedWithoutSendingAnything) {
  FakeMusicDevice device;
  MusicSettings settings;
  Tovira_BGM bgm(device, settings);
  std::string message;
  EXPECT_EQ(bgm.MCI_Command("", message), -1);
  EXPECT_EQ(message, "コマンド文字列が指定されていません");
  EXPECT_EQ(bgm.MCI_Query(""), "Error:-1");
  EXPECT_TRUE(device.sent.empty());
}

TEST(MCI_Command, AFailureGivesTheCodeAndItsTextOrAFixedTextWhenThereIsNone) {
  FakeMusicDevice device;
  MusicSettings settings;
  Tovira_BGM bgm(device, settings);
  std::string message;
  EXPECT_EQ(bgm.MCI_Command("status nothing mode", message), 263);
  EXPECT_EQ(message, "MCI error 263.");
  EXPECT_EQ(device.errorTextSizes, std::vector<std::uint32_t>{256});

  device.errorTextFails = true;
  EXPECT_EQ(bgm.MCI_Command("status nothing mode", message), 263);
  EXPECT_EQ(message, "Error (文字列が取れません)");
  EXPECT_EQ(bgm.MCI_Query("status nothing mode"), "Error:263");
}

TEST(MCI_Play, BuildsThePlayCommandFromItsParts) {
  struct Case {
    const char *from, *to, *command;
  };
  const Case cases[] = {
      {"", "", "play cdaudio"},
      {"03:00:00:00", "", "play cdaudio from 03:00:00:00"},
      {"", "04:00:00:00", "play cdaudio to 04:00:00:00"},
      {"03:00:00:00", "04:00:00:00", "play cdaudio from 03:00:00:00 to 04:00:00:00"},
  };
  for (const Case& c : cases) {
    FakeMusicDevice device;
    MusicSettings settings;
    Tovira_BGM bgm(device, settings);
    device.answers[c.command] = {testing::kMciDeviceNotReady, ""};
    EXPECT_EQ(bgm.MCI_Play("cdaudio", c.from, c.to), 276);
    EXPECT_EQ(device.Commands(), Commands{c.command});
  }
}

TEST(MusicBuffers, EachCommandCarriesItsBufferSize) {
  FakeMusicDevice device;
  device.InsertDisc(kDisc);
  device.AddFile("C:\\a.mp3", 3000);
  MusicSettings settings;
  settings.BGM_RepeatTrack = 2;
  settings.BGM_File = "C:\\a.mp3";
  Tovira_BGM bgm(device, settings);
  bgm.CD_Open();
  bgm.CD_Check();
  bgm.CD_Close();
  bgm.MP3_Open();
  bgm.MP3_Check();
  device.Advance(5000);
  bgm.MP3_Check();
  bgm.MP3_Close();

  std::vector<std::pair<std::string, std::uint32_t>> sizes;
  for (const auto& s : device.sent) sizes.emplace_back(s.command, s.replySize);
  const std::vector<std::pair<std::string, std::uint32_t>> expected = {
      {"open cdaudio", 0},
      {"set cdaudio time format tmsf", 0},
      {"status cdaudio current track", 512},
      {"status cdaudio number of tracks", 512},
      {"status cdaudio mode", 255},
      {"status cdaudio position track 2", 512},
      {"play cdaudio from 02:00:00:00", 512},
      {"stop cdaudio", 0},
      {"close cdaudio", 0},
      {"open \"C:\\a.mp3\" type MPEGVideo Alias MP3Play", 0},
      {"play MP3Play", 0},
      {"status MP3Play mode", 30},
      {"status MP3Play mode", 30},
      {"stop MP3Play", 0},
      {"play MP3Play from 0", 0},
      {"stop MP3Play", 0},
      {"close MP3Play", 0},
  };
  EXPECT_EQ(sizes, expected);
}

TEST(MusicBuffers, RepliesAreTakenUpToTheFirstNulAndNeverPastTheBuffer) {
  FakeMusicDevice device;
  MusicSettings settings;
  Tovira_BGM bgm(device, settings);
  device.answers["status cdaudio current track"] = {0, std::string("3\0junk", 6)};
  device.answers["info cdaudio product"] = {0, std::string(600, 'x')};
  EXPECT_EQ(bgm.MCI_Query("status cdaudio current track"), "3");
  EXPECT_EQ(bgm.MCI_Query("info cdaudio product"), std::string(512, 'x'));
  // The reply buffer is cleared before each command, so nothing of an earlier reply shows.
  device.answers["status cdaudio current track"] = {0, "4"};
  EXPECT_EQ(bgm.MCI_Query("status cdaudio current track"), "4");
}

TEST(MP3, OpenQuotesThePathAndPlaysOnlyWhenTheOpenSucceeded) {
  FakeMusicDevice device;
  device.AddFile("C:\\My Music\\song one.mp3", 4000);
  MusicSettings settings;
  settings.BGM_File = "C:\\My Music\\song one.mp3";
  Tovira_BGM bgm(device, settings);
  bgm.MP3_Open();
  EXPECT_EQ(device.TakeCommands(),
            (Commands{"open \"C:\\My Music\\song one.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}));
  EXPECT_TRUE(device.FilePlaying("MP3Play"));

  FakeMusicDevice missing;
  Tovira_BGM other(missing, settings);
  other.MP3_Open();
  EXPECT_EQ(missing.Commands(), Commands{"open \"C:\\My Music\\song one.mp3\" type MPEGVideo Alias MP3Play"});
}

TEST(MP3, TheCheckRestartsTheFileOnlyWhenItIsNoLongerPlaying) {
  FakeMusicDevice device;
  device.AddFile("C:\\a.mp3", 4500);
  MusicSettings settings;
  settings.BGM_File = "C:\\a.mp3";
  Tovira_BGM bgm(device, settings);
  bgm.MP3_Open();
  device.sent.clear();

  int restarts = 0;
  for (int tick = 1; tick <= 20; ++tick) {
    device.Advance(kCheckMs);
    const bool wasPlaying = device.FilePlaying("MP3Play");
    bgm.MP3_Check();
    const Commands sent = device.TakeCommands();
    if (wasPlaying) {
      ASSERT_EQ(sent, Commands{"status MP3Play mode"}) << "tick " << tick;
    } else {
      ASSERT_EQ(sent, (Commands{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}))
          << "tick " << tick;
      ASSERT_TRUE(device.FilePlaying("MP3Play"));
      ASSERT_EQ(device.FilePosition("MP3Play"), 0);
      ++restarts;
    }
  }
  // The 4.5 s file ends during every fifth second and restarts at the next check.
  EXPECT_EQ(restarts, 20 / 5);

  bgm.MP3_Close();
  EXPECT_EQ(device.TakeCommands(), (Commands{"stop MP3Play", "close MP3Play"}));
  EXPECT_FALSE(device.FilePlaying("MP3Play"));
}

TEST(MP3, OnlyAModeBeginningWithPlayingCountsAsPlaying) {
  struct Case {
    std::string reply;
    bool playing;
  };
  const Case cases[] = {{"playing", true},  {"playing back", true},
                        {"stopped", false}, {"paused", false},
                        {"Playing", false}, {"", false},
                        {"play", false},    {std::string("playin\0g", 8), false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    FakeMusicDevice device;
    MusicSettings settings;
    Tovira_BGM bgm(device, settings);
    device.answers["status MP3Play mode"] = {0, c.reply + std::string(1, '\0')};
    EXPECT_EQ(bgm.MP3_IsPlaying(), c.playing);
    bgm.MP3_Check();
    EXPECT_EQ(device.Commands().size(), c.playing ? 2u : 4u);
  }
}

TEST(MP3, ChecksOfAFileThatNeverOpenedKeepTryingHarmlessly) {
  FakeMusicDevice device;
  MusicSettings settings;
  settings.BGM_File = "C:\\gone.mp3";
  Tovira_BGM bgm(device, settings);
  bgm.MP3_Open();
  for (int i = 0; i < 3; ++i) bgm.MP3_Check();
  EXPECT_EQ(device.Commands().size(), 1u + 3u * 3u);
  EXPECT_FALSE(device.FilePlaying("MP3Play"));
}

TEST(WAV, PlaysTheFileLoopedWithoutTheDefaultSoundOnlyWithAWaveDevice) {
  MusicSettings settings;
  settings.BGM_File = "C:\\My Music\\loop.wav";
  for (std::uint32_t devices : {0u, 1u, 3u}) {
    SCOPED_TRACE(devices);
    FakeMusicDevice device;
    device.waveDevices = devices;
    Tovira_BGM bgm(device, settings);
    bgm.WAV_Play();
    bgm.WAV_Stop();
    std::vector<std::pair<std::optional<std::string>, std::uint32_t>> sounds;
    for (const auto& s : device.sounds) sounds.emplace_back(s.name, s.flags);
    decltype(sounds) expected;
    // SND_ASYNC | SND_NODEFAULT | SND_LOOP, and no SND_FILENAME.
    if (devices > 0) expected.emplace_back("C:\\My Music\\loop.wav", 0x000Bu);
    expected.emplace_back(std::nullopt, 0u);  // the stop is harmless without a device
    EXPECT_EQ(sounds, expected);
    EXPECT_TRUE(device.sent.empty());
  }
}

TEST(MusicFileType, IsTheLastThreeCharactersUpperCased) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Music\\song.mp3", "MP3"},
      {"song.Wav", "WAV"},
      {"song.wav", "WAV"},
      {"song.ogg", "OGG"},
      {"C:\\a b\\x.MP3", "MP3"},
      {"mp3", "MP3"},
      {"ab", "AB"},
      {"w", "W"},
      {"", ""},
      {"song.mp3 ", "P3 "},
      {"songwav", "WAV"},
  };
  for (const auto& [file, type] : cases) EXPECT_EQ(MusicFileType(file), type) << file;
}

}  // namespace
}  // namespace hz
