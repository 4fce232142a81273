// The tunnel's geometry: rings of points around a direction, and the tube of
// triangles that Build sweeps along the curve.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <new>
#include <set>
#include <string>

#include "Classes/CRing.h"

namespace {

// The renderer's nothrow array allocations of sizes in this range fail (and are counted)
// while it is set, to drive its out-of-memory paths.
std::size_t g_failFrom = 1, g_failTo = 0;
int g_failures = 0;
void FailAllocations(std::size_t from, std::size_t to) { g_failFrom = from, g_failTo = to, g_failures = 0; }

}  // namespace

// The default array form forwards to the scalar one, and so does its delete.
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  if (size >= g_failFrom && size <= g_failTo) return ++g_failures, nullptr;
  return ::operator new(size, tag);
}

namespace {

struct Vec {
  float x, y, z;
};
Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec At(const float* vertex) { return {vertex[0], vertex[1], vertex[2]}; }

TEST(RingTest, PointsRunRoundTheDirectionFromTheFirstBasisRowTowardsTheSecond) {
  // Direction (1, 2, 2): axes (-y, x, 0) and (-xz/q, -yz/q, 1), normalized; the angle step is 6.283193, not 2
  // pi.
  const float a = std::sqrt(5.0f), b = std::sqrt(45.0f), first[3] = {-2 / a, 1 / a, 0},
              second[3] = {-2 / b, -4 / b, 5 / b};
  CRing ring;
  ring.SetCount(7);
  ring.SetRadius(0.5f);
  ring.SetDirection(CVector(1, 2, 2));
  for (int i = 0; i < 7; ++i) {
    const float angle = static_cast<float>(i) * 6.283193f / 7.0f;
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(ring.GetPoints()[i].Get(k),
                  0.5f * (std::cos(angle) * first[k] + std::sin(angle) * second[k]), 1e-6f)
          << i;
  }
}

// P0 = S, P1 = S + HS, P2 = E + HE, P3 = E.
const float kP[4][3] = {{1, 2, 3}, {1.5f, 2, 3}, {-4, 5.5f, -5.75f}, {-4, 5, -6}};

void Configure(CTunnel& tunnel, int n = 30, int m = 100, float radius = 0.3f, bool reversed = true) {
  std::memcpy(tunnel.fStart, kP[0], sizeof kP[0]);
  std::memcpy(tunnel.fEnd, kP[3], sizeof kP[3]);
  tunnel.cvStartHandle.Set(0.5f, 0, 0);
  tunnel.cvEndHandle.Set(0, 0.5f, 0.25f);
  tunnel.iSegments = n;
  tunnel.iRings = m;
  tunnel.fRadius = radius;
  tunnel.bReversed = reversed;
}

Vec Curve(float t) {
  float out[3];
  BezierPoint(kP[0], kP[1], kP[2], kP[3], t, out);
  return {out[0], out[1], out[2]};
}

// Vertex k of the first triangle of quad j between rings r and r + 1 (forward order: (A, B, C), (B, D, C)).
const float* Quad(const CTunnel& t, int r, int j, int k = 0) {
  return t.psTriangleList[2 * (t.iSegments * r + j)].fVertex[k];
}

TEST(TunnelBuildTest, RingsSitOnTheCurveAtTheAccumulatedStepPerpendicularToIt) {
  CTunnel tunnel;
  Configure(tunnel, 30, 100, 0.3f, false);
  ASSERT_TRUE(tunnel.Build());
  ASSERT_EQ(tunnel.iTriangleCount, 5940);
  float t = 0.0f;
  for (int r = 0; r < 100; ++r, t += 0.01f) {
    const Vec centre = Curve(t), back = Sub(centre, Curve(t + 0.01f));
    for (int j = 0; j < 30; ++j) {
      // Ring r's points are the quads' A vertices; the last ring's are the last quads' C.
      const Vec offset = Sub(At(r < 99 ? Quad(tunnel, r, j) : Quad(tunnel, 98, j, 2)), centre);
      SCOPED_TRACE("ring " + std::to_string(r) + " point " + std::to_string(j));
      ASSERT_NEAR(std::sqrt(Dot(offset, offset)), 0.3f, 2e-5f);
      ASSERT_NEAR(Dot(offset, back) / std::sqrt(Dot(back, back)), 0.0f, 2e-5f);
      const float q = std::sqrt(back.x * back.x + back.y * back.y);
      // Point 0 lies along the first basis row (-y, x, 0) of the direction back along the curve.
      if (j == 0) {
        ASSERT_NEAR(Dot(offset, {-back.y / q, back.x / q, 0}), 0.3f, 2e-5f);
      }
    }
  }
  // With radius 0 each ring is its centre, taken bit for bit at the accumulated t, not quite at 0.99.
  Configure(tunnel, 4, 100, 0.0f, false);
  ASSERT_TRUE(tunnel.Build());
  const Vec last = Curve(t - 0.01f), exact = Curve(0.99f);
  EXPECT_EQ(std::memcmp(Quad(tunnel, 98, 0, 2), &last, sizeof last), 0);
  EXPECT_NE(std::memcmp(&exact, &last, sizeof last), 0);
}

TEST(TunnelBuildTest, TextureCoordinatesRunAroundAndAlongWithTheClosingQuadAtOne) {
  CTunnel tunnel;
  Configure(tunnel, 30, 100, 0.3f, false);
  ASSERT_TRUE(tunnel.Build());
  // u is j / (N + 1), never N / (N + 1), plus the closing quad's 1.0; v is r / (M - 1).
  std::set<float> us, vs, expectedU = {1.0f}, expectedV;
  for (int i = 0; i < tunnel.iTriangleCount; ++i)
    for (const auto& vertex : tunnel.psTriangleList[i].fVertex) us.insert(vertex[3]), vs.insert(vertex[4]);
  for (int j = 0; j < 30; ++j) expectedU.insert(static_cast<float>(j) / 31.0f);
  for (int r = 0; r < 100; ++r) expectedV.insert(static_cast<float>(r) / 99.0f);
  EXPECT_EQ(us, expectedU);
  EXPECT_EQ(vs, expectedV);
  // The closing quad's B is point 0 again but takes u = 1.
  EXPECT_EQ(Quad(tunnel, 10, 29, 1)[3], 1.0f);
  EXPECT_EQ(std::memcmp(Quad(tunnel, 10, 29, 1), Quad(tunnel, 10, 0), 3 * sizeof(float)), 0);
  EXPECT_EQ(std::memcmp(tunnel.psTriangleList[2 * (30 * 10 + 29) + 1].fVertex[1], Quad(tunnel, 11, 0), 12),
            0);
}

TEST(TunnelBuildTest, OneNormalPerQuadAndReversingSwapsTheOrderAndTheSign) {
  CTunnel forward, reversed;
  Configure(forward, 30, 100, 0.3f, false);
  Configure(reversed, 30, 100, 0.3f, true);
  ASSERT_TRUE(forward.Build());
  ASSERT_TRUE(reversed.Build());
  for (int q = 0; q < forward.iTriangleCount; q += 2) {
    SCOPED_TRACE("quad " + std::to_string(q / 2));
    const STriangle *f = &forward.psTriangleList[q], *r = &reversed.psTriangleList[q];
    // n = -normalize((B - A) x (C - A)), from the forward triangle (A, B, C).
    const Vec a = At(f[0].fVertex[0]),
              cross = Cross(Sub(At(f[0].fVertex[1]), a), Sub(At(f[0].fVertex[2]), a));
    const float length = -std::sqrt(Dot(cross, cross)),
                n[3] = {cross.x / length, cross.y / length, cross.z / length};
    // forward (A, B, C), (B, D, C); reversed (A, C, B), (B, C, D)
    const float* expected[6] = {f[0].fVertex[0], f[0].fVertex[2], f[0].fVertex[1],
                                f[0].fVertex[1], f[0].fVertex[2], f[1].fVertex[1]};
    ASSERT_EQ(std::memcmp(f[1].fVertex[0], f[0].fVertex[1], sizeof f[1].fVertex[0]), 0);
    ASSERT_EQ(std::memcmp(f[1].fVertex[2], f[0].fVertex[2], sizeof f[1].fVertex[2]), 0);
    for (int k = 0; k < 6; ++k)
      ASSERT_EQ(std::memcmp(r[k / 3].fVertex[k % 3], expected[k], 5 * sizeof(float)), 0);
    for (int k = 0; k < 3; ++k) {
      ASSERT_NEAR(f[0].fNormal[k], n[k], 1e-5f);
      ASSERT_EQ(f[1].fNormal[k], f[0].fNormal[k]);
      ASSERT_EQ(r[0].fNormal[k], -f[0].fNormal[k]);
      ASSERT_EQ(r[1].fNormal[k], -f[0].fNormal[k]);
    }
  }
}

TEST(TunnelBuildTest, ABuildThroughKeptBuffersEqualsAFreshOne) {
  const struct { int n, m; } shapes[] = {{30, 100}, {7, 2}, {64, 33}, {30, 100}};
  CTunnel kept;
  for (const auto& shape : shapes) {
    CTunnel fresh;
    Configure(kept, shape.n, shape.m);
    Configure(fresh, shape.n, shape.m);
    ASSERT_TRUE(kept.Build() && fresh.Build());
    ASSERT_EQ(kept.iTriangleCount, 2 * shape.n * (shape.m - 1));
    EXPECT_EQ(std::memcmp(kept.psTriangleList, fresh.psTriangleList, sizeof(STriangle) * kept.iTriangleCount),
              0)
        << shape.n << " x " << shape.m;
  }
}

TEST(TunnelBuildTest, TooFewSegmentsOrRingsOrNoMemoryKeepThePreviousList) {
  CTunnel tunnel;
  Configure(tunnel);
  ASSERT_TRUE(tunnel.Build());
  const STriangle *list = tunnel.psTriangleList, first = list[0];
  for (const auto& [n, m] : {std::pair{30, 1}, {0, 100}, {65536, 65536}}) {
    Configure(tunnel, n, m);
    EXPECT_FALSE(tunnel.Build()) << n << " x " << m;
    EXPECT_EQ(tunnel.psTriangleList, list);
    EXPECT_EQ(tunnel.iTriangleCount, 5940);
  }
  Configure(tunnel, 40, 100);  // a larger grid is needed, first of all
  tunnel.cvStartHandle.Set(9, 9, 9);
  FailAllocations(0, SIZE_MAX);
  EXPECT_FALSE(tunnel.Build());
  FailAllocations(1, 0);
  EXPECT_EQ(tunnel.iTriangleCount, 5940);
  EXPECT_EQ(std::memcmp(&tunnel.psTriangleList[0], &first, sizeof first), 0);

  CTunnel fresh;  // no memory for the list: there is none, and its count is 0
  Configure(fresh);
  FailAllocations(5940 * sizeof(STriangle), 5940 * sizeof(STriangle));
  EXPECT_FALSE(fresh.Build());
  FailAllocations(1, 0);
  EXPECT_EQ(fresh.psTriangleList, nullptr);
  EXPECT_EQ(fresh.iTriangleCount, 0);
  EXPECT_TRUE(fresh.Build());  // and recovers once memory is back
}

TEST(TunnelBuildTest, RingsWithoutPointsCollapseOntoTheCurve) {
  CTunnel tunnel, centres;
  Configure(tunnel);
  Configure(centres, 30, 100, 0.0f);  // radius 0: every vertex on the curve
  ASSERT_TRUE(centres.Build());
  testing::internal::CaptureStderr();
  FailAllocations(30 * sizeof(CVector), 30 * sizeof(CVector));
  EXPECT_TRUE(tunnel.Build());
  EXPECT_EQ(g_failures, 100);
  FailAllocations(1, 0);
  const std::string diagnostic = testing::internal::GetCapturedStderr();
  EXPECT_NE(diagnostic.find(
                "CRing.cpp\nLine : 89\nMethod : CRing::GenerateIt()\nCondition : if(pcVectorList == NULL)"),
            std::string::npos)
      << diagnostic;
  for (int i = 0; i < tunnel.iTriangleCount; ++i)
    ASSERT_EQ(
        std::memcmp(tunnel.psTriangleList[i].fVertex, centres.psTriangleList[i].fVertex, 15 * sizeof(float)),
        0);
}

TEST(TunnelTexturesTest, TheListIsCopiedAndNoMemoryLeavesTheSlotEmpty) {
  CTunnel tunnel;
  unsigned int names[4] = {21, 22, 23, 24};
  EXPECT_EQ(tunnel.SetTextureList(1, names, 4), 0);
  EXPECT_EQ(tunnel.CurrentTexture(1), 21u);
  EXPECT_EQ(tunnel.CurrentTexture(0), 0u);  // an empty slot binds none
  names[2] = 99;                             // the tunnel holds its own copy
  tunnel.SelectTexture(1, 2);
  EXPECT_EQ(tunnel.CurrentTexture(1), 23u);
  const unsigned int many[100] = {7};
  FailAllocations(sizeof many, sizeof many);
  EXPECT_EQ(tunnel.SetTextureList(1, many, 100), 1);
  FailAllocations(1, 0);
  EXPECT_EQ(tunnel.iTextureCount[1], 0);  // not the old count
  EXPECT_EQ(tunnel.CurrentTexture(1), 0u);
}

}  // namespace
