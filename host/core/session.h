// The screensaver session on the host's side: hand the pictures to the
// renderer, start the music, start the renderer, watch it, and stop the
// music when it has gone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "bitmap_file.h"
#include "music.h"
#include "session_watch.h"
#include "startup.h"

namespace hz {

enum class SessionTimer {
  Timer1,  // 1000 ms: music-file check (MP3 only)
  Timer2,  // 200 ms: CD poll
  Timer3,  // 500 ms: renderer watch
};

inline constexpr std::uint32_t TimerInterval(SessionTimer t) {
  return t == SessionTimer::Timer1 ? 1000 : t == SessionTimer::Timer2 ? 200 : RendererWatch::kIntervalMs;
}

// What the session needs from the platform besides the music.
class SessionPlatform {
 public:
  virtual ~SessionPlatform() = default;
  // Pic1(index): the pictures the program carries (0: 1 x 1 black, 1 and 2: skies).
  virtual std::optional<Bitmap24> Picture(int index) = 0;
  // Starts the renderer as a new process (not through the shell); false when it could not start.
  virtual bool StartRenderer(const std::string& path) = 0;
  virtual bool RendererRunning() = 0;
  virtual bool WindowExists(const char* title) = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void EnableTimer(SessionTimer timer, bool enabled) = 0;
  virtual std::int32_t ShowCursor(bool show) = 0;  // the new display count
  virtual void EndProcess() = 0;
};

// The hand-over files, in Pic1's order.
std::string TextureFilePath(int index);

class Tovira_S {
 public:
  Tovira_S(SessionPlatform& platform, Tovira_BGM& music, HostState& host)
      : platform_(platform), music_(music), host_(host) {}

  void Load();
  void Timer1();
  void Timer2();
  void Timer3();
  // Runs for every reason the session ends (the watch, a close message,
  // the end of the user's Windows session); it ends the process.
  void CloseRequest();

  bool TimerEnabled(SessionTimer t) const { return enabled_[static_cast<int>(t)]; }
  const std::string& Renderer_Path() const { return rendererPath_; }

 private:
  void SetTimer(SessionTimer t, bool on);

  SessionPlatform& platform_;
  Tovira_BGM& music_;
  HostState& host_;
  std::string rendererPath_;
  std::optional<RendererWatch> watch_;
  bool enabled_[3] = {false, false, false};
  bool closing_ = false;
};

}  // namespace hz
