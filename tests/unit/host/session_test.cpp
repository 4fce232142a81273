#include "session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_music_device.h"
#include "temp_dir.h"

namespace hz {
namespace {

using testing::FakeMusicDevice;
using testing::TempDir;

// A desktop where the renderer can be started, shows its window after a
// given delay and goes again when told; time moves only when the test says.
class FakeSessionPlatform final : public SessionPlatform {
 public:
  std::optional<Bitmap24> Picture(int index) override {
    Bitmap24 b;
    b.width = b.height = index == 0 ? 1 : 256;
    b.rows.assign(Bitmap24::Stride(b.width) * static_cast<std::size_t>(b.height), index == 2 ? 0xC8 : 0);
    return b;
  }
  bool StartRenderer(const std::string& path) override {
    events.push_back("start " + path);
    startedAt = now;
    running = canStart;
    return canStart;
  }
  bool RendererRunning() override { return running; }
  bool WindowExists(const char* title) override {
    return std::string(title) == "Tovira_VC" && running && windowAfterMs >= 0 &&
           now - startedAt >= static_cast<std::uint32_t>(windowAfterMs) && !windowClosed;
  }
  std::uint32_t TickCount() override { return now; }
  void EnableTimer(SessionTimer t, bool on) override {
    events.push_back(std::string(on ? "enable " : "disable ") + "Timer" + std::to_string(static_cast<int>(t) + 1));
  }
  std::int32_t ShowCursor(bool show) override {
    events.push_back(show ? "show cursor" : "hide cursor");
    return show ? 0 : -1;
  }
  void EndProcess() override {
    events.push_back("end");
    ended = true;
  }

  std::uint32_t now = 5000;
  std::uint32_t startedAt = 0;
  bool canStart = true;
  bool running = false;
  int windowAfterMs = 100;  // -1: never
  bool windowClosed = false;
  bool ended = false;
  std::vector<std::string> events;
};

struct SessionRig {
  explicit SessionRig(const std::string& arguments = "/s") {
    host.arguments = arguments;
    host.programFolder = "C:\\Prog";
    if (arguments == "/s") host.Cursor_Count = -1;
  }
  // Runs the watch every 500 ms for up to `ms`; returns the time the process ended, or -1.
  int RunFor(int ms) {
    for (int t = 500; t <= ms; t += 500) {
      platform.now += 500;
      for (int k = 0; k < 5; ++k) session.Timer2();  // CD polls in between, as the timers interleave
      if (t % 1000 == 0) session.Timer1();
      session.Timer3();
      if (platform.ended) return t;
    }
    return -1;
  }
  HostState host;
  FakeSessionPlatform platform;
  FakeMusicDevice device;
  Tovira_BGM music{device, host.music};
  Tovira_S session{platform, music, host};
};

TEST(Tovira_S, WritesTheThreePicturesBeforeStartingTheRenderer) {
  TempDir dir;
  TempDir::WriteFile("C:\\k_arden\\Tovira02.bmp", std::string(999999, 's'));  // left from an earlier run
  SessionRig rig;
  rig.session.Load();
  EXPECT_EQ(TempDir::ReadFile("C:\\k_arden\\Tovira01.bmp").size(), 58u);
  EXPECT_EQ(TempDir::ReadFile("C:\\k_arden\\Tovira02.bmp").size(), 196662u);
  EXPECT_EQ(TempDir::ReadFile("C:\\k_arden\\Tovira03.bmp").size(), 196662u);
  EXPECT_EQ(rig.session.Renderer_Path(), "C:\\Prog\\Hazumaki.dll");
  EXPECT_EQ(rig.platform.events, (std::vector<std::string>{"enable Timer3", "start C:\\Prog\\Hazumaki.dll"}));
}

TEST(Tovira_S, StartsTheMusicByKindAndFileType) {
  struct Case {
    std::int16_t kind;
    const char* file;
    std::vector<std::string> commands;
    std::size_t sounds;
    bool timer1, timer2;
  } cases[] = {
      {1, "", {"open cdaudio", "set cdaudio time format tmsf"}, 0, false, true},
      {2, "C:\\My Music\\song.mp3", {"open \"C:\\My Music\\song.mp3\" type MPEGVideo Alias MP3Play"}, 0, true, false},
      {2, "C:\\song.Wav", {}, 1, false, false},
      {2, "C:\\song.ogg", {}, 0, false, false},
      {0, "C:\\song.mp3", {}, 0, false, false},
      {7, "C:\\song.mp3", {}, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " " + c.file);
    TempDir dir;
    SessionRig rig;
    rig.host.music.BGM_Kind = c.kind;
    rig.host.music.BGM_File = c.file;
    rig.session.Load();
    std::vector<std::string> opened = rig.device.Commands();
    if (opened.size() > c.commands.size()) opened.resize(c.commands.size());  // "play" follows a good open
    EXPECT_EQ(opened, c.commands);
    EXPECT_EQ(rig.device.sounds.size(), c.sounds);
    EXPECT_EQ(rig.session.TimerEnabled(SessionTimer::Timer1), c.timer1);
    EXPECT_EQ(rig.session.TimerEnabled(SessionTimer::Timer2), c.timer2);
  }
}

TEST(Tovira_S, ClosingTheRendererWindowEndsTheSessionOnTheNextLook) {
  TempDir dir;
  SessionRig rig;
  rig.session.Load();
  EXPECT_EQ(rig.RunFor(3000), -1);
  rig.platform.windowClosed = true;
  EXPECT_EQ(rig.RunFor(1000), 500);
  const std::vector<std::string> tail(rig.platform.events.end() - 3, rig.platform.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"disable Timer3", "show cursor", "end"}));
}

TEST(Tovira_S, ARendererThatIsLateToShowItsWindowStillGetsAFullSession) {
  TempDir dir;
  SessionRig rig;
  rig.platform.windowAfterMs = 2000;
  rig.session.Load();
  EXPECT_EQ(rig.RunFor(60000), -1);
  rig.platform.running = false;  // Escape
  EXPECT_EQ(rig.RunFor(1000), 500);
}

TEST(Tovira_S, ARendererThatNeverShowsAWindowEndsTheSessionAfterTenSeconds) {
  TempDir dir;
  SessionRig rig;
  rig.platform.windowAfterMs = -1;
  rig.session.Load();
  EXPECT_EQ(rig.RunFor(60000), 10000);
}

TEST(Tovira_S, ARendererThatCannotStartEndsTheSessionOnTheFirstLookWithTheMusicStopped) {
  TempDir dir;
  SessionRig rig;
  rig.platform.canStart = false;
  rig.host.music.BGM_Kind = kMusicFile;
  rig.host.music.BGM_File = "C:\\a.wav";
  rig.session.Load();
  EXPECT_EQ(rig.RunFor(5000), 500);
  ASSERT_EQ(rig.device.sounds.size(), 2u);
  EXPECT_FALSE(rig.device.sounds.back().name.has_value()) << "WAV_Stop";
}

TEST(Tovira_S, ACloseRequestDuringStartUpStopsTheMusicAndLeavesTheRendererAlone) {
  TempDir dir;
  SessionRig rig;
  rig.host.music.BGM_Kind = kMusicFile;
  rig.host.music.BGM_File = "C:\\song.mp3";
  rig.device.AddFile("C:\\song.mp3", 60000);
  rig.session.Load();
  rig.device.TakeCommands();
  rig.session.CloseRequest();
  EXPECT_EQ(rig.device.TakeCommands(), (std::vector<std::string>{"stop MP3Play", "close MP3Play"}));
  EXPECT_TRUE(rig.platform.ended);
  EXPECT_TRUE(rig.platform.running) << "the host never ends the renderer";
  rig.session.CloseRequest();  // Windows may ask again while the process ends
  EXPECT_TRUE(rig.device.TakeCommands().empty());
}

TEST(Tovira_S, TheCdIsClosedOnlyWhileItsPollStillRuns) {
  TempDir dir;
  {
    SessionRig rig;
    rig.host.music.BGM_Kind = kMusicCd;
    rig.device.InsertDisc({30, 40, 50});
    rig.session.Load();
    rig.RunFor(1000);
    EXPECT_TRUE(rig.device.CdPlaying());
    rig.device.TakeCommands();
    rig.session.CloseRequest();
    EXPECT_EQ(rig.device.TakeCommands(), (std::vector<std::string>{"stop cdaudio", "close cdaudio"}));
  }
  {
    SessionRig rig;
    rig.host.music.BGM_Kind = kMusicCd;
    rig.device.EmptyDrive();
    rig.session.Load();
    rig.RunFor(1000);
    EXPECT_FALSE(rig.session.TimerEnabled(SessionTimer::Timer2)) << "the first failed poll stops polling";
    rig.device.TakeCommands();
    rig.session.CloseRequest();
    EXPECT_TRUE(rig.device.TakeCommands().empty());
  }
}

TEST(Tovira_S, OnlyASessionStartedWithSShowsTheCursorAgain) {
  for (const char* args : {"", "/s", "-S"}) {
    SCOPED_TRACE(args);
    TempDir dir;
    SessionRig rig(args);
    rig.host.Cursor_Count = std::string(args).empty() ? std::nullopt : std::optional<std::int32_t>(-1);
    rig.session.Load();
    rig.session.CloseRequest();
    const bool shown = std::find(rig.platform.events.begin(), rig.platform.events.end(), "show cursor") !=
                       rig.platform.events.end();
    EXPECT_EQ(shown, !std::string(args).empty());
    if (shown) {
      EXPECT_EQ(rig.host.Cursor_Count, 0);
    }
  }
}

}  // namespace
}  // namespace hz
