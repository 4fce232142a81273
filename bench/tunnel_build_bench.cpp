// Microseconds per tunnel Build: the product's against the plain one that
// allocates everything and recomputes every sine and cosine per call.
#include <chrono>
#include <cmath>
#include <cstdio>

#include "Classes/CRing.h"
#include "straight_build.h"

namespace {

// The scene's curve as it writhes: the handles follow slow sines.
void Animate(CTunnel& tunnel, int frame) {
  const double x = frame * 1.7;
  tunnel.fStart[2] = 110.0f;
  tunnel.fEnd[2] = 115.0f;
  tunnel.cvStartHandle.Set(static_cast<float>(3.0 * std::sin(0.0031084185299045403 * x)),
                           static_cast<float>(3.0 * std::cos(0.005984189770626006 * x)), 3.0f);
  tunnel.cvEndHandle.Set(static_cast<float>(3.0 * std::sin(0.003400123084455657 * x)),
                         static_cast<float>(3.0 * std::cos(0.004530893900057543 * x)), -3.0f);
}

template <typename F>
double MicrosecondsPerCall(CTunnel& tunnel, F build) {
  using Clock = std::chrono::steady_clock;
  for (int i = 0; i < 50; ++i) {  // warm caches and the kept buffers
    Animate(tunnel, i);
    build(tunnel);
  }
  double best = 1e30;
  for (int round = 0; round < 5; ++round) {
    const int calls = 400;
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) {
      Animate(tunnel, round * calls + i);
      build(tunnel);
    }
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls;
    if (us < best) best = us;
  }
  return best;
}

CTunnel* MakeTunnel() {
  auto* tunnel = new CTunnel;
  tunnel->iSegments = 30;
  tunnel->iRings = 100;
  tunnel->fRadius = 0.3f;
  tunnel->bReversed = true;
  return tunnel;
}

}  // namespace

int main() {
  CTunnel* fast = MakeTunnel();
  CTunnel* plain = MakeTunnel();
  const double fastUs = MicrosecondsPerCall(*fast, [](CTunnel& t) { t.Build(); });
  const double plainUs = MicrosecondsPerCall(*plain, [](CTunnel& t) { StraightBuild(t); });
  std::printf("tunnel Build, 30 segments x 100 rings (5940 triangles), best of 5 rounds of 400 calls:\n");
  std::printf("  product (kept buffers, per-index sine and cosine table): %8.1f us\n", fastUs);
  std::printf("  plain   (allocates per call, recomputes every sine):     %8.1f us\n", plainUs);
  delete fast;
  delete plain;
  return 0;
}
