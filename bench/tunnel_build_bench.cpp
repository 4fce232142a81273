// Microseconds per tunnel Build of the scene's shape (30 segments x 100
// rings, 5940 triangles): the product's, through one tunnel whose buffers are
// kept between frames, beside the same Build on a fresh tunnel per call,
// which allocates everything anew as a plain per-frame Build would.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>

#include "Classes/CRing.h"

namespace {

constexpr int kRounds = 15;

void Configure(CTunnel& tunnel, int frame) {
  const double x = frame * 1.7;  // the scene's handles, swinging
  tunnel.iSegments = 30;
  tunnel.iRings = 100;
  tunnel.fRadius = 0.3f;
  tunnel.bReversed = true;
  tunnel.fStart[2] = 110.0f;
  tunnel.fEnd[2] = 115.0f;
  tunnel.cvStartHandle.Set(static_cast<float>(3.0 * std::sin(0.0031084185299045403 * x)),
                           static_cast<float>(3.0 * std::cos(0.005984189770626006 * x)), 3.0f);
  tunnel.cvEndHandle.Set(static_cast<float>(3.0 * std::sin(0.003400123084455657 * x)),
                         static_cast<float>(3.0 * std::cos(0.004530893900057543 * x)), -3.0f);
}

// Best of the rounds for each, in microseconds per call. Their rounds
// alternate, so that a machine busy with other work slows both alike.
template <typename F, typename G>
std::pair<double, double> MicrosecondsPerCall(F first, G second) {
  using Clock = std::chrono::steady_clock;
  const auto round = [](auto build, int from) {
    const int calls = 400;
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) build(from + i);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls;
  };
  round(first, 0);  // warm caches and the kept buffers
  round(second, 0);
  double best[2] = {1e30, 1e30};
  for (int r = 0; r < kRounds; ++r) {
    best[0] = std::min(best[0], round(first, r * 400));
    best[1] = std::min(best[1], round(second, r * 400));
  }
  return {best[0], best[1]};
}

}  // namespace

int main() {
  CTunnel kept;
  const auto [keptUs, freshUs] = MicrosecondsPerCall(
      [&](int frame) {
        Configure(kept, frame);
        kept.Build();
      },
      [](int frame) {
        const auto fresh = std::make_unique<CTunnel>();
        Configure(*fresh, frame);
        fresh->Build();
      });
  std::printf(
      "tunnel Build, 30 segments x 100 rings (5940 triangles), best of %d alternating rounds of 400 calls:\n",
      kRounds);
  std::printf("  product, buffers kept between frames: %8.1f us\n", keptUs);
  std::printf("  fresh tunnel per call (allocates):    %8.1f us\n", freshUs);
  std::printf("  ratio %.2f\n", freshUs / keptUs);
  return 0;
}
