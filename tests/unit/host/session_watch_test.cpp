#include "session_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace hz {
namespace {

// One look every 500 ms from `start`: each entry says whether the window
// exists and whether the process runs; returns the look that ended the
// session (1-based), or 0 when none did.
struct Look {
  bool window;
  bool running;
};

int LooksUntilEnd(std::uint32_t start, bool started, const std::vector<Look>& looks) {
  RendererWatch watch(start, started);
  for (std::size_t i = 0; i < looks.size(); ++i) {
    const std::uint32_t now = start + static_cast<std::uint32_t>((i + 1) * RendererWatch::kIntervalMs);
    if (watch.Tick(now, looks[i].window, looks[i].running)) return static_cast<int>(i + 1);
  }
  return 0;
}

constexpr Look kStarting{false, true};
constexpr Look kShowing{true, true};
constexpr Look kGone{false, false};
constexpr Look kWindowClosedProcessExiting{false, true};

TEST(RendererWatch, EndsWhenTheWindowGoesAfterItWasSeen) {
  EXPECT_EQ(LooksUntilEnd(1000, true, {kShowing, kShowing, kWindowClosedProcessExiting}), 3);
  EXPECT_EQ(LooksUntilEnd(1000, true, {kShowing, kGone}), 2);
}

TEST(RendererWatch, WaitsForALateWindow) {
  // The window appears after 2 s; the session lasts.
  EXPECT_EQ(LooksUntilEnd(1000, true, {kStarting, kStarting, kStarting, kStarting, kShowing, kShowing}), 0);
}

TEST(RendererWatch, GivesUpWhenTheWindowNeverAppears) {
  const std::vector<Look> never(30, kStarting);
  EXPECT_EQ(LooksUntilEnd(1000, true, never), 20);  // 20 x 500 ms = 10 s
}

TEST(RendererWatch, EndsAtOnceWhenTheRendererCannotRun) {
  EXPECT_EQ(LooksUntilEnd(1000, false, {kStarting, kStarting}), 1) << "never started";
  EXPECT_EQ(LooksUntilEnd(1000, true, {kStarting, kGone}), 2) << "ended before showing a window";
}

TEST(RendererWatch, CountsTheTenSecondsAcrossTheTickCountWrap) {
  const std::vector<Look> never(30, kStarting);
  EXPECT_EQ(LooksUntilEnd(0xFFFFF000u, true, never), 20);
  EXPECT_EQ(LooksUntilEnd(0xFFFFF000u, true, {kStarting, kShowing, kShowing, kShowing}), 0);
}

TEST(RendererWatch, AWindowThatExistsKeepsTheSessionEvenIfTheProcessIsGone) {
  // Only the window is watched once seen: another renderer's window with the same
  // title keeps the session, as the title is what the watch is about.
  EXPECT_EQ(LooksUntilEnd(1000, true, {kShowing, {true, false}, {true, false}}), 0);
}

}  // namespace
}  // namespace hz
