#include "session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_music_device.h"
#include "session_watch.h"
#include "support.h"

namespace hz {
namespace {

using testing::TempDir;
using Events = std::vector<std::string>;

// A desktop where the renderer starts, shows its window 100 ms later and
// ends when the test says; time moves only when the test says.
class FakeSessionPlatform final : public SessionPlatform {
 public:
  std::optional<Bitmap24> Picture(int index) override {
    const int size = index == 0 ? 1 : 256;
    return Bitmap24{size, size, std::vector<std::uint8_t>(Bitmap24::Stride(size) * size)};
  }
  bool StartRenderer(const std::string& path) override { return Log("start " + path, running = canStart); }
  bool RendererRunning() override { return running; }
  bool WindowExists(const char* title) override {
    return std::string(title) == "Tovira_VC" && running && now > 100;
  }
  std::uint32_t TickCount() override { return now; }
  void EnableTimer(SessionTimer t, bool on) override {
    Log((on ? "enable Timer" : "disable Timer") + std::to_string(static_cast<int>(t) + 1), 0);
  }
  std::int32_t ShowCursor(bool show) override { return Log(show ? "show cursor" : "hide cursor", 0); }
  void EndProcess() override { Log("end", 0); }
  template <typename T>
  T Log(const std::string& event, T result) {
    events.push_back(event);
    return result;
  }

  std::uint32_t now = 0;
  bool canStart = true, running = false;
  Events events;
};

struct SessionRig {
  SessionRig(std::int16_t kind, const std::string& file, const std::string& arguments = "/s") {
    host.arguments = arguments;
    host.programFolder = "C:\\Prog";
    if (!arguments.empty()) host.Cursor_Count = -1;  // as start-up hid it
    host.music.BGM_Kind = kind;
    host.music.BGM_File = file;
  }
  // The timers as they interleave, 500 ms at a time; the renderer ends after
  // `quitAfterMs`. Returns when the process ended, or -1.
  int RunFor(int ms, int quitAfterMs = -1) {
    for (int t = 500; t <= ms; t += 500) {
      platform.now += 500;
      if (quitAfterMs >= 0 && t > quitAfterMs) platform.running = false;
      for (int k = 0; k < 5; ++k) session.Timer2();
      if (t % 1000 == 0) session.Timer1();
      session.Timer3();
      if (platform.events.back() == "end") return t;
    }
    return -1;
  }
  TempDir dir;
  HostState host;
  FakeSessionPlatform platform;
  testing::FakeMusicDevice device;
  Tovira_BGM music{device, host.music};
  Tovira_S session{platform, music, host};
};

TEST(Tovira_S, WritesThePicturesStartsTheMusicThenTheRenderer) {
  // The fake driver opens no file here, so an MP3 is opened but never played.
  // clang-format off
  const struct {
    std::int16_t kind;
    const char* file;
    Events commands;
    std::size_t sounds;
    bool timer1, timer2;
  } cases[] = {
      {1, "", {"open cdaudio", "set cdaudio time format tmsf"}, 0, false, true},
      {2, "C:\\My Music\\song.mp3", {"open \"C:\\My Music\\song.mp3\" type MPEGVideo Alias MP3Play"}, 0, true, false},
      {2, "C:\\song.Wav", {}, 1, false, false},
      {2, "C:\\song.ogg", {}, 0, false, false},
      {7, "C:\\song.mp3", {}, 0, false, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " " + c.file);
    SessionRig rig(c.kind, c.file);
    rig.dir.WriteText("C:\\k_arden\\Tovira02.bmp", std::string(999999, 's'));  // left from an earlier run
    rig.session.Load();
    for (const auto& [name, size] : {std::pair{"01", 58u}, {"02", 196662u}, {"03", 196662u}})
      EXPECT_EQ(testing::ReadFile(std::string("C:\\k_arden\\Tovira") + name + ".bmp").size(), size);
    EXPECT_EQ(rig.device.TakeCommands(), c.commands);
    EXPECT_EQ(rig.device.sounds.size(), c.sounds);
    EXPECT_EQ(rig.session.TimerEnabled(SessionTimer::Timer1), c.timer1);
    EXPECT_EQ(rig.session.TimerEnabled(SessionTimer::Timer2), c.timer2);
    EXPECT_EQ(rig.platform.events.back(), "start C:\\Prog\\Hazumaki.dll");
  }
}

TEST(Tovira_S, EndsWithTheMusicStoppedWhenTheRendererHasGoneOrNeverStarted) {
  for (const bool canStart : {true, false}) {
    SCOPED_TRACE(canStart ? "closed after 3 s" : "cannot start");
    SessionRig rig(kMusicFile, "C:\\a.wav");
    rig.platform.canStart = canStart;
    rig.session.Load();
    EXPECT_EQ(rig.RunFor(20000, 3000), canStart ? 3500 : 500);
    EXPECT_EQ(Events(rig.platform.events.end() - 3, rig.platform.events.end()),
              (Events{"disable Timer3", "show cursor", "end"}));
    ASSERT_EQ(rig.device.sounds.size(), 2u);
    EXPECT_FALSE(rig.device.sounds.back().first.has_value()) << "WAV_Stop";
  }
}

// The CD is closed only while its poll still runs; the cursor is shown again only for "/s".
TEST(Tovira_S, ACloseRequestStopsTheMusicOnceAndShowsTheCursorOnlyForS) {
  const Events mp3 = {"stop MP3Play", "close MP3Play"}, cd = {"stop cdaudio", "close cdaudio"};
  const struct {
    std::int16_t kind;
    const char* args;
    bool disc;
    Events closing;
  } cases[] = {{kMusicFile, "", false, mp3},
               {kMusicFile, "/s", false, mp3},
               {kMusicCd, "/s", true, cd},
               {kMusicCd, "/s", false, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.args) + (c.disc ? " disc" : ""));
    SessionRig rig(c.kind, c.kind == kMusicFile ? "C:\\song.mp3" : "", c.args);
    if (c.disc) rig.device.Disc("1", "playing");
    rig.session.Load();
    rig.RunFor(1000);
    EXPECT_EQ(rig.session.TimerEnabled(SessionTimer::Timer2), c.disc);
    rig.device.TakeCommands();
    rig.session.CloseRequest();
    EXPECT_EQ(rig.device.TakeCommands(), c.closing);
    EXPECT_EQ(rig.platform.events.back(), "end");
    const bool shown = *c.args != '\0';
    EXPECT_EQ(rig.host.Cursor_Count, shown ? std::optional<std::int32_t>(0) : std::nullopt);
    EXPECT_EQ(rig.platform.events.end()[-2] == "show cursor", shown);
    rig.session.CloseRequest();  // Windows may ask again while the process ends
    EXPECT_TRUE(rig.device.TakeCommands().empty());
  }
}

// One letter per look every 500 ms: s the process starting, w its window showing, g gone,
// o the window shown by another process.
TEST(RendererWatch, EndsOnlyWhenTheRendererHasGoneOrIsTenSecondsLate) {
  const std::string never(30, 's');
  const struct {
    const char* name;
    std::uint32_t start;
    std::string looks;
    std::size_t endingLook;  // 1-based; 0 when the session lasts
  } cases[] = {
      {"window closed, process still exiting", 1000, "wws", 3},
      {"never a window", 1000, never, 20},
      {"never a window, across the tick-count wrap", 0xFFFFF000u, never, 20},
      {"late window across the wrap", 0xFFFFF000u, "sww", 0},
      {"once seen, only the window's title counts, whichever process shows it", 1000, "woo", 0},
  };
  for (const auto& c : cases) {
    RendererWatch watch(c.start, /*processStarted=*/true);
    std::size_t ended = 0;
    for (std::size_t i = 0; i < c.looks.size() && !ended; ++i) {
      const char look = c.looks[i];
      const auto now = c.start + static_cast<std::uint32_t>((i + 1) * RendererWatch::kIntervalMs);
      if (watch.Tick(now, look == 'w' || look == 'o', look != 'g' && look != 'o')) ended = i + 1;
    }
    EXPECT_EQ(ended, c.endingLook) << c.name;
  }
}

}  // namespace
}  // namespace hz
