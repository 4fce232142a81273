// Microseconds per tunnel Build of the scene's shape (30 segments x 100
// rings, 5940 triangles): the product's, through one tunnel whose buffers are
// kept between frames, beside the plainest Build there is, which allocates
// its grid, its list and every ring's points afresh on each call and works
// out each ring's cosines and sines again. Both make the same triangles.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "Classes/CRing.h"
#include "animation.h"

namespace {

constexpr int kRounds = 15;

// The scene's shape, its curve at a step that moves on with the frame.
void Configure(CTunnel& tunnel, int frame) {
  tunnel.iSegments = 30;
  tunnel.iRings = 100;
  tunnel.fRadius = 0.3f;
  tunnel.bReversed = true;
  SetTunnelCurve(tunnel, AnimateControlPoints(static_cast<std::uint32_t>(2 * frame)));
}

// The same arithmetic as the product's, in the order of the plain algorithm.
std::unique_ptr<STriangle[]> PlainBuild(const CTunnel& tunnel) {
  const int n = tunnel.iSegments, m = tunnel.iRings;
  struct Point {
    float x, y, z, u, v;
  };
  const std::unique_ptr<Point[]> grid(new Point[static_cast<std::size_t>(n * m)]);
  std::unique_ptr<STriangle[]> list(new STriangle[static_cast<std::size_t>(2 * n * (m - 1))]);
  float p[4][3];
  for (int k = 0; k < 3; ++k) {
    p[0][k] = tunnel.fStart[k];
    p[1][k] = tunnel.fStart[k] + tunnel.cvStartHandle.Get(k);
    p[2][k] = tunnel.fEnd[k] + tunnel.cvEndHandle.Get(k);
    p[3][k] = tunnel.fEnd[k];
  }
  const float dt = 1.0f / static_cast<float>(m);
  float t = 0.0f;
  for (int r = 0; r < m; ++r, t += dt) {
    float c[3], ahead[3];
    BezierPoint(p[0], p[1], p[2], p[3], t, c);
    BezierPoint(p[0], p[1], p[2], p[3], t + dt, ahead);
    const CVector back(c[0] - ahead[0], c[1] - ahead[1], c[2] - ahead[2]);
    const CVector d = back.Divide(back.Length());
    const float x = d.GetX(), y = d.GetY(), z = d.GetZ(), q = x * x + y * y;
    CVector basis[3] = {{-y, x, 0.0f}, {-x * z / q, -y * z / q, 1.0f}, {x, y, z}};
    for (CVector& row : basis) row = row.Divide(row.Length());
    const std::unique_ptr<CVector[]> points(new CVector[static_cast<std::size_t>(n)]);
    for (int j = 0; j < n; ++j) {
      const float angle = (static_cast<float>(j) * 6.283193f + 0.0f) / static_cast<float>(n);
      const float px = std::cos(angle), py = std::sin(angle), pz = 0.0f;
      for (int k = 0; k < 3; ++k) {
        const float v = (px * basis[0].Get(k) + py * basis[1].Get(k) + pz * basis[2].Get(k)) * tunnel.fRadius;
        k == 0 ? points[j].SetX(v) : k == 1 ? points[j].SetY(v) : points[j].SetZ(v);
      }
      grid[r * n + j] = {points[j].GetX() + c[0], points[j].GetY() + c[1], points[j].GetZ() + c[2],
                         static_cast<float>(j) / static_cast<float>(n + 1),
                         static_cast<float>(r) / static_cast<float>(m - 1)};
    }
  }
  STriangle* out = list.get();
  for (int r = 0; r + 1 < m; ++r) {
    for (int j = 0; j < n; ++j, out += 2) {
      const int j2 = j == n - 1 ? 0 : j + 1;
      Point a = grid[r * n + j], b = grid[r * n + j2], c = grid[(r + 1) * n + j], d = grid[(r + 1) * n + j2];
      if (j == n - 1) b.u = d.u = 1.0f;
      const CVector e1(b.x - a.x, b.y - a.y, b.z - a.z), e2(c.x - a.x, c.y - a.y, c.z - a.z);
      const CVector cross(e1.GetY() * e2.GetZ() - e1.GetZ() * e2.GetY(),
                          e1.GetZ() * e2.GetX() - e1.GetX() * e2.GetZ(),
                          e1.GetX() * e2.GetY() - e1.GetY() * e2.GetX());
      const CVector unit = cross.Divide(cross.Length());
      const float sign = tunnel.bReversed ? 1.0f : -1.0f;
      const Point order[2][3] = {{a, tunnel.bReversed ? c : b, tunnel.bReversed ? b : c},
                                 {b, tunnel.bReversed ? c : d, tunnel.bReversed ? d : c}};
      for (int i = 0; i < 2; ++i) {
        for (int v = 0; v < 3; ++v) {
          const Point& o = order[i][v];
          const float vertex[5] = {o.x, o.y, o.z, o.u, o.v};
          std::memcpy(out[i].fVertex[v], vertex, sizeof vertex);
        }
        for (int k = 0; k < 3; ++k) out[i].fNormal[k] = sign * unit.Get(k);
      }
    }
  }
  return list;
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
  CTunnel kept, plain;
  Configure(kept, 7);
  kept.Build();
  const bool same = std::memcmp(PlainBuild(kept).get(), kept.psTriangleList,
                                sizeof(STriangle) * static_cast<std::size_t>(kept.iTriangleCount)) == 0;
  volatile float sink = 0.0f;  // keeps the plain build's result alive
  const auto [keptUs, plainUs] = MicrosecondsPerCall(
      [&](int frame) {
        Configure(kept, frame);
        kept.Build();
      },
      [&](int frame) {
        Configure(plain, frame);
        sink = PlainBuild(plain)[static_cast<std::size_t>(frame % 5940)].fNormal[0];
      });
  std::printf(
      "tunnel Build, 30 segments x 100 rings (5940 triangles), best of %d alternating rounds of 400 calls:\n",
      kRounds);
  std::printf("  product, buffers kept between frames:          %8.1f us\n", keptUs);
  std::printf("  plain, allocating and computing all per call:  %8.1f us\n", plainUs);
  std::printf("  ratio %.2f; the same triangles: %s\n", plainUs / keptUs, same ? "yes" : "NO");
  return same ? 0 : 1;
}
