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
using Events = std::vector<std::string>;

// A desktop where the renderer starts, shows its window after a delay and
// ends when told; time moves only when the test says.
class FakeSessionPlatform final : public SessionPlatform {
 public:
  std::optional<Bitmap24> Picture(int index) override {
    Bitmap24 b;
    b.width = b.height = index == 0 ? 1 : 256;
    b.rows.resize(Bitmap24::Stride(b.width) * static_cast<std::size_t>(b.height));
    return b;
  }
  bool StartRenderer(const std::string& path) override {
    events.push_back("start " + path);
    startedAt = now;
    return running = canStart;
  }
  bool RendererRunning() override { return running; }
  bool WindowExists(const char* title) override {
    return std::string(title) == "Tovira_VC" && running && windowAfterMs >= 0 &&
           now - startedAt >= static_cast<std::uint32_t>(windowAfterMs);
  }
  std::uint32_t TickCount() override { return now; }
  void EnableTimer(SessionTimer t, bool on) override {
    events.push_back(std::string(on ? "enable " : "disable ") + "Timer" +
                     std::to_string(static_cast<int>(t) + 1));
  }
  std::int32_t ShowCursor(bool show) override {
    events.push_back(show ? "show cursor" : "hide cursor");
    return show ? 0 : -1;
  }
  void EndProcess() override {
    events.push_back("end");
    ended = true;
  }

  std::uint32_t now = 5000, startedAt = 0;
  bool canStart = true, running = false, ended = false;
  int windowAfterMs = 100;  // -1: never
  Events events;
};

struct SessionRig {
  explicit SessionRig(const std::string& arguments = "/s") {
    host.arguments = arguments;
    host.programFolder = "C:\\Prog";
    if (!arguments.empty()) host.Cursor_Count = -1;  // as start-up hid it
  }
  // The timers as they interleave, up to `ms`; the renderer ends after `quitAfterMs`.
  // Returns when the process ended, or -1.
  int RunFor(int ms, int quitAfterMs = -1) {
    for (int t = 500; t <= ms; t += 500) {
      platform.now += 500;
      if (quitAfterMs >= 0 && t > quitAfterMs) platform.running = false;
      for (int k = 0; k < 5; ++k) session.Timer2();
      if (t % 1000 == 0) session.Timer1();
      session.Timer3();
      if (platform.ended) return t;
    }
    return -1;
  }
  TempDir dir;
  HostState host;
  FakeSessionPlatform platform;
  FakeMusicDevice device;
  Tovira_BGM music{device, host.music};
  Tovira_S session{platform, music, host};
};

TEST(Tovira_S, WritesTheThreePicturesBeforeStartingTheRenderer) {
  SessionRig rig;
  TempDir::WriteFile("C:\\k_arden\\Tovira02.bmp", std::string(999999, 's'));  // left from an earlier run
  rig.session.Load();
  EXPECT_EQ(TempDir::ReadFile("C:\\k_arden\\Tovira01.bmp").size(), 58u);
  EXPECT_EQ(TempDir::ReadFile("C:\\k_arden\\Tovira02.bmp").size(), 196662u);
  EXPECT_EQ(TempDir::ReadFile("C:\\k_arden\\Tovira03.bmp").size(), 196662u);
  EXPECT_EQ(rig.platform.events, (Events{"enable Timer3", "start C:\\Prog\\Hazumaki.dll"}));
}

TEST(Tovira_S, StartsTheMusicByKindAndFileType) {
  const struct {
    std::int16_t kind;
    const char* file;
    Events commands;
    std::size_t sounds;
    bool timer1, timer2;
  } cases[] = {
      // clang-format off
      {1, "", {"open cdaudio", "set cdaudio time format tmsf"}, 0, false, true},
      {2, "C:\\My Music\\song.mp3", {"open \"C:\\My Music\\song.mp3\" type MPEGVideo Alias MP3Play"}, 0, true, false},
      {2, "C:\\song.Wav", {}, 1, false, false},
      {2, "C:\\song.ogg", {}, 0, false, false},
      {0, "C:\\song.mp3", {}, 0, false, false},
      {7, "C:\\song.mp3", {}, 0, false, false},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " " + c.file);
    SessionRig rig;
    rig.host.music.BGM_Kind = c.kind;
    rig.host.music.BGM_File = c.file;
    rig.session.Load();
    EXPECT_EQ(rig.device.TakeCommands(), c.commands);
    EXPECT_EQ(rig.device.sounds.size(), c.sounds);
    EXPECT_EQ(rig.session.TimerEnabled(SessionTimer::Timer1), c.timer1);
    EXPECT_EQ(rig.session.TimerEnabled(SessionTimer::Timer2), c.timer2);
  }
}

TEST(Tovira_S, EndsWithTheMusicStoppedWhenTheRendererHasGoneOrNeverShowsAWindow) {
  const struct {
    const char* name;
    bool canStart;
    int windowAfterMs, quitAfterMs, endsAtMs;
  } cases[] = {
      {"closed after 3 s", true, 100, 3000, 3500},
      {"window 2 s late, closed after a minute", true, 2000, 60000, 60500},
      {"never a window", true, -1, -1, 10000},
      {"cannot start", false, 100, -1, 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SessionRig rig;
    rig.platform.canStart = c.canStart;
    rig.platform.windowAfterMs = c.windowAfterMs;
    rig.host.music.BGM_Kind = kMusicFile;
    rig.host.music.BGM_File = "C:\\a.wav";
    rig.session.Load();
    EXPECT_EQ(rig.RunFor(70000, c.quitAfterMs), c.endsAtMs);
    EXPECT_EQ(Events(rig.platform.events.end() - 3, rig.platform.events.end()),
              (Events{"disable Timer3", "show cursor", "end"}));
    ASSERT_EQ(rig.device.sounds.size(), 2u);
    EXPECT_FALSE(rig.device.sounds.back().first.has_value()) << "WAV_Stop";
  }
}

TEST(Tovira_S, ACloseRequestStopsTheMusicOnceLeavesTheRendererAndShowsTheCursorOnlyForS) {
  for (const std::string args : {"", "/s", "-S"}) {
    SCOPED_TRACE(args);
    SessionRig rig(args);
    rig.host.music.BGM_Kind = kMusicFile;
    rig.host.music.BGM_File = "C:\\song.mp3";
    rig.session.Load();
    rig.device.TakeCommands();
    rig.session.CloseRequest();
    EXPECT_EQ(rig.device.TakeCommands(), (Events{"stop MP3Play", "close MP3Play"}));
    EXPECT_TRUE(rig.platform.ended);
    EXPECT_TRUE(rig.platform.running) << "the host never ends the renderer";
    const auto& e = rig.platform.events;
    EXPECT_EQ(std::count(e.begin(), e.end(), "show cursor"), args.empty() ? 0 : 1);
    EXPECT_EQ(rig.host.Cursor_Count, args.empty() ? std::nullopt : std::optional<std::int32_t>(0));
    rig.session.CloseRequest();  // Windows may ask again while the process ends
    EXPECT_TRUE(rig.device.TakeCommands().empty());
  }
}

TEST(Tovira_S, TheCdIsClosedOnlyWhileItsPollStillRuns) {
  for (bool disc : {true, false}) {
    SCOPED_TRACE(disc ? "disc" : "empty drive");
    SessionRig rig;
    rig.host.music.BGM_Kind = kMusicCd;
    rig.device.drive = FakeMusicDevice::Drive::Empty;
    if (disc) rig.device.InsertDisc({30, 40});
    rig.session.Load();
    rig.RunFor(1000);
    EXPECT_EQ(rig.session.TimerEnabled(SessionTimer::Timer2), disc);
    rig.device.TakeCommands();
    rig.session.CloseRequest();
    EXPECT_EQ(rig.device.TakeCommands(), (disc ? Events{"stop cdaudio", "close cdaudio"} : Events{}));
  }
}

}  // namespace
}  // namespace hz
