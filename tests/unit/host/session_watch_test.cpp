#include "session_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace hz {
namespace {

struct Look {
  bool window, running;
};
constexpr Look kStarting{false, true}, kShowing{true, true}, kGone{false, false};

TEST(RendererWatch, EndsOnlyWhenTheRendererHasGoneOrIsTenSecondsLate) {
  const std::vector<Look> never(30, kStarting);
  const struct {
    const char* name;
    std::uint32_t start;
    std::vector<Look> looks;
    int endingLook;  // 1-based; 0 when the session lasts
  } cases[] = {
      {"window closed, process still exiting", 1000, {kShowing, kShowing, kStarting}, 3},
      {"window 2 s late", 1000, {kStarting, kStarting, kStarting, kStarting, kShowing, kShowing}, 0},
      {"never a window", 1000, never, 20},
      {"ended before showing a window", 1000, {kStarting, kGone}, 2},
      {"never a window, across the tick-count wrap", 0xFFFFF000u, never, 20},
      {"late window across the wrap", 0xFFFFF000u, {kStarting, kShowing, kShowing}, 0},
      // Once seen, only the window's title counts, whichever process shows it.
      {"window of another process", 1000, {kShowing, {true, false}, {true, false}}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RendererWatch watch(c.start, /*processStarted=*/true);
    int ended = 0;
    for (std::size_t i = 0; i < c.looks.size() && !ended; ++i) {
      const std::uint32_t now = c.start + static_cast<std::uint32_t>((i + 1) * RendererWatch::kIntervalMs);
      if (watch.Tick(now, c.looks[i].window, c.looks[i].running)) ended = static_cast<int>(i + 1);
    }
    EXPECT_EQ(ended, c.endingLook);
  }
}

}  // namespace
}  // namespace hz
