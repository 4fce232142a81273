// The session's watch on the renderer, one look every 500 ms.
//
// The session ends when the renderer's window has gone after it was seen,
// when the renderer process has ended (or never started), or when its window
// has not appeared within 10 s. A renderer that is merely slow to open its
// window (a busy machine, a cold disk) keeps its session.
#pragma once

#include <cstdint>

namespace hz {

class RendererWatch {
 public:
  static constexpr std::uint32_t kIntervalMs = 500;
  static constexpr std::uint32_t kAppearLimitMs = 10000;

  RendererWatch(std::uint32_t startTick, bool processStarted)
      : start_(startTick), processStarted_(processStarted) {}

  // One look; true when the session is over. Tick counts may wrap.
  bool Tick(std::uint32_t now, bool windowExists, bool processRunning);

 private:
  std::uint32_t start_;
  bool processStarted_;
  bool seen_ = false;
};

}  // namespace hz
