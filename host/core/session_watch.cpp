#include "session_watch.h"

namespace hz {

bool RendererWatch::Tick(std::uint32_t now, bool windowExists, bool processRunning) {
  if (windowExists) {
    seen_ = true;
    return false;
  }
  if (seen_ || !processStarted_ || !processRunning) return true;
  return static_cast<std::uint32_t>(now - start_) >= kAppearLimitMs;
}

}  // namespace hz
