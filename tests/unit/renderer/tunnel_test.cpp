#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "Classes/CRing.h"
#include "allocation_failure.h"
#include "straight_build.h"

namespace {

struct Curve {
  float s[3], hs[3], e[3], he[3];
};

// The scene's curve at the start, and some other shapes.
const Curve kSceneCurve = {{0, 0, 110}, {0, 3, 3}, {0, 0, 115}, {0, 3, -3}};
const Curve kCurves[] = {
    kSceneCurve,
    {{0, -0.1f, 0}, {-0.1f, -0.1f, 0}, {0, -1, 0}, {0.1f, 0.1f, 0}},
    {{0, 0, 110}, {2.1f, -1.3f, 3}, {0, 0, 115}, {-0.4f, 2.9f, -3}},
    {{1, 2, 3}, {0.5f, 0, 0}, {-4, 5, -6}, {0, 0.5f, 0.25f}},
};

void Configure(CTunnel& tunnel, const Curve& c, int n, int m, float radius, bool reversed) {
  std::memcpy(tunnel.fStart, c.s, sizeof c.s);
  std::memcpy(tunnel.fEnd, c.e, sizeof c.e);
  tunnel.cvStartHandle.Set(c.hs[0], c.hs[1], c.hs[2]);
  tunnel.cvEndHandle.Set(c.he[0], c.he[1], c.he[2]);
  tunnel.iSegments = n;
  tunnel.iRings = m;
  tunnel.fRadius = radius;
  tunnel.bReversed = reversed;
}

void ExpectSameBits(const CTunnel& built, const CTunnel& plain, const char* what) {
  ASSERT_EQ(built.iTriangleCount, plain.iTriangleCount) << what;
  ASSERT_NE(built.psTriangleList, nullptr) << what;
  EXPECT_EQ(std::memcmp(built.psTriangleList, plain.psTriangleList,
                        sizeof(STriangle) * static_cast<std::size_t>(plain.iTriangleCount)),
            0)
      << what;
}

void Sub(const float a[], const float b[], float out[3]) {
  for (int k = 0; k < 3; ++k) out[k] = a[k] - b[k];
}
void Cross(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}
float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

TEST(TunnelBuildTest, ThirtySegmentsAndAHundredRingsMake5940Triangles) {
  CTunnel tunnel;
  Configure(tunnel, kSceneCurve, 30, 100, 0.3f, true);
  ASSERT_TRUE(tunnel.Build());
  EXPECT_EQ(tunnel.iTriangleCount, 5940);
  ASSERT_NE(tunnel.psTriangleList, nullptr);
}

TEST(TunnelBuildTest, TrianglesAreBitForBitThoseOfThePlainBuild) {
  const struct {
    int n, m;
    float radius;
    bool reversed;
  } shapes[] = {{30, 100, 0.3f, true},
                {30, 100, 0.3f, false},
                {7, 2, 1.0f, true},
                {1, 5, 0.5f, true},
                {64, 33, 0.05f, false}};
  for (const Curve& curve : kCurves) {
    CTunnel tunnel;  // one object through every shape: its kept buffers change size
    for (const auto& shape : shapes) {
      Configure(tunnel, curve, shape.n, shape.m, shape.radius, shape.reversed);
      CTunnel plain;
      Configure(plain, curve, shape.n, shape.m, shape.radius, shape.reversed);
      StraightBuild(plain);
      ASSERT_TRUE(tunnel.Build());
      ExpectSameBits(tunnel, plain, "first build");
      ASSERT_TRUE(tunnel.Build());
      ExpectSameBits(tunnel, plain, "rebuild");
    }
  }
}

TEST(TunnelBuildTest, RingsSitAtTheAccumulatedParameterSoTheLastIsNotQuiteAtPointNineNine) {
  // With radius 0 every vertex is its ring's centre on the curve.
  CTunnel tunnel;
  Configure(tunnel, kCurves[3], 4, 100, 0.0f, false);
  ASSERT_TRUE(tunnel.Build());
  const float p0[3] = {1, 2, 3}, p1[3] = {1.5f, 2, 3}, p2[3] = {-4, 5.5f, -5.75f}, p3[3] = {-4, 5, -6};
  float t = 0.0f;
  bool someRingDiffersFromROverM = false;
  for (int r = 0; r < 99; ++r) {
    // Vertex A of the first quad of ring pair r is point 0 of ring r.
    const float* a = tunnel.psTriangleList[2 * 4 * r].fVertex[0];
    float expected[3];
    BezierPoint(p0, p1, p2, p3, t, expected);
    EXPECT_EQ(std::memcmp(a, expected, sizeof expected), 0) << "ring " << r;
    float exact[3];
    BezierPoint(p0, p1, p2, p3, static_cast<float>(r) / 100.0f, exact);
    if (std::memcmp(exact, expected, sizeof exact) != 0) someRingDiffersFromROverM = true;
    t += 1.0f / 100.0f;
  }
  EXPECT_TRUE(someRingDiffersFromROverM);
  // The last ring (vertex C of the last pair's first triangle) at t as accumulated.
  EXPECT_NE(t, 0.99f);
  EXPECT_NEAR(t, 0.99f, 1e-5f);
  float last[3];
  BezierPoint(p0, p1, p2, p3, t, last);
  EXPECT_EQ(std::memcmp(tunnel.psTriangleList[2 * 4 * 98].fVertex[2], last, sizeof last), 0);
}

TEST(TunnelBuildTest, TextureCoordinatesRunAroundAndAlongWithTheClosingQuadAtOne) {
  CTunnel tunnel;
  Configure(tunnel, kSceneCurve, 30, 100, 0.3f, false);
  ASSERT_TRUE(tunnel.Build());
  std::set<float> us, vs;
  for (int i = 0; i < tunnel.iTriangleCount; ++i)
    for (const auto& vertex : tunnel.psTriangleList[i].fVertex) {
      us.insert(vertex[3]);
      vs.insert(vertex[4]);
    }
  // u is j / (N + 1), never N: 0 .. 29/31, plus the closing quad's 1.0.
  EXPECT_EQ(us.size(), 31u);
  EXPECT_EQ(*us.begin(), 0.0f);
  EXPECT_EQ(*std::prev(us.end(), 2), 29.0f / 31.0f);
  EXPECT_EQ(*us.rbegin(), 1.0f);
  EXPECT_EQ(vs.size(), 100u);
  EXPECT_EQ(*vs.begin(), 0.0f);
  EXPECT_EQ(*vs.rbegin(), 1.0f);

  // Quad j of ring pair r: triangles (A, B, C) and (B, D, C).
  const int r = 10;
  const STriangle* quad = &tunnel.psTriangleList[2 * 30 * r + 2 * 5];
  EXPECT_EQ(quad[0].fVertex[0][3], 5.0f / 31.0f);  // A
  EXPECT_EQ(quad[0].fVertex[1][3], 6.0f / 31.0f);  // B
  EXPECT_EQ(quad[0].fVertex[0][4], 10.0f / 99.0f);
  EXPECT_EQ(quad[0].fVertex[2][4], 11.0f / 99.0f);  // C, one ring on
  const STriangle* closing = &tunnel.psTriangleList[2 * 30 * r + 2 * 29];
  EXPECT_EQ(closing[0].fVertex[0][3], 29.0f / 31.0f);  // A keeps its u
  EXPECT_EQ(closing[0].fVertex[1][3], 1.0f);           // B wraps to point 0 but takes u = 1
  EXPECT_EQ(closing[1].fVertex[1][3], 1.0f);           // D too
  EXPECT_EQ(
      std::memcmp(closing[0].fVertex[1], tunnel.psTriangleList[2 * 30 * r].fVertex[0], 3 * sizeof(float)),
      0);  // B's position is point 0's
}

TEST(TunnelBuildTest, ReversingSwapsTheVertexOrderAndTheNormalsSign) {
  CTunnel forward, reversed;
  Configure(forward, kCurves[2], 30, 100, 0.3f, false);
  Configure(reversed, kCurves[2], 30, 100, 0.3f, true);
  ASSERT_TRUE(forward.Build());
  ASSERT_TRUE(reversed.Build());
  ASSERT_EQ(forward.iTriangleCount, reversed.iTriangleCount);
  for (int q = 0; q < forward.iTriangleCount; q += 2) {
    const STriangle* f = &forward.psTriangleList[q];
    const STriangle* r = &reversed.psTriangleList[q];
    // forward (A, B, C), (B, D, C); reversed (A, C, B), (B, C, D)
    const float* a = f[0].fVertex[0];
    const float* b = f[0].fVertex[1];
    const float* c = f[0].fVertex[2];
    const float* d = f[1].fVertex[1];
    const float* expected[6] = {a, c, b, b, c, d};
    for (int k = 0; k < 6; ++k)
      ASSERT_EQ(std::memcmp(r[k / 3].fVertex[k % 3], expected[k], 5 * sizeof(float)), 0) << "triangle " << q;
    for (int t = 0; t < 2; ++t)
      for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(r[t].fNormal[k], -f[t].fNormal[k]);
        ASSERT_EQ(f[t].fNormal[k], f[0].fNormal[k]);  // one normal per quad
      }
  }
  // In both orders the normal is a unit vector against the triangle's
  // right-handed winding.
  for (const CTunnel* tunnel : {&forward, &reversed})
    for (int i = 0; i < tunnel->iTriangleCount; ++i) {
      const STriangle& t = tunnel->psTriangleList[i];
      float e1[3], e2[3], winding[3];
      Sub(t.fVertex[1], t.fVertex[0], e1);
      Sub(t.fVertex[2], t.fVertex[0], e2);
      Cross(e1, e2, winding);
      ASSERT_LT(Dot(winding, t.fNormal), 0.0f) << "triangle " << i;
      ASSERT_NEAR(Dot(t.fNormal, t.fNormal), 1.0f, 1e-5f);
    }
}

TEST(TunnelBuildTest, CoincidingCornersGiveNonFiniteNormalsWithoutFailing) {
  CTunnel tunnel;
  Configure(tunnel, kSceneCurve, 30, 100, 0.0f, true);
  ASSERT_TRUE(tunnel.Build());
  EXPECT_TRUE(std::isnan(tunnel.psTriangleList[0].fNormal[0]));
}

TEST(TunnelBuildTest, TooFewSegmentsOrRingsBuildNothingAndKeepThePreviousList) {
  CTunnel tunnel;
  Configure(tunnel, kSceneCurve, 30, 100, 0.3f, true);
  ASSERT_TRUE(tunnel.Build());
  const STriangle* list = tunnel.psTriangleList;
  const struct { int n, m; } refused[] = {{30, 1}, {30, 0}, {0, 100}, {-3, 100}, {30, -5}, {65536, 65536}};
  for (const auto& shape : refused) {
    tunnel.iSegments = shape.n;
    tunnel.iRings = shape.m;
    EXPECT_FALSE(tunnel.Build()) << shape.n << " x " << shape.m;
    EXPECT_EQ(tunnel.psTriangleList, list);
    EXPECT_EQ(tunnel.iTriangleCount, 5940);
  }
}

TEST(TunnelBuildTest, WithoutMemoryForTheGridThePreviousListStays) {
  CTunnel tunnel;
  Configure(tunnel, kSceneCurve, 30, 100, 0.3f, true);
  ASSERT_TRUE(tunnel.Build());
  CTunnel previous;
  Configure(previous, kSceneCurve, 30, 100, 0.3f, true);
  StraightBuild(previous);

  Configure(tunnel, kCurves[2], 40, 100, 0.3f, true);  // a larger grid is needed, first of all
  FailEveryAllocation fail;
  EXPECT_FALSE(tunnel.Build());
  EXPECT_EQ(fail.Failures(), 1);
  ExpectSameBits(tunnel, previous, "the previous list");
}

TEST(TunnelBuildTest, WithoutMemoryForTheListThereIsNoListAndNoTriangles) {
  CTunnel tunnel;
  Configure(tunnel, kSceneCurve, 30, 100, 0.3f, true);
  {
    FailAllocationsOfSize fail(5940 * sizeof(STriangle));
    EXPECT_FALSE(tunnel.Build());
    EXPECT_EQ(fail.Failures(), 1);
  }
  EXPECT_EQ(tunnel.psTriangleList, nullptr);
  EXPECT_EQ(tunnel.iTriangleCount, 0);
  EXPECT_TRUE(tunnel.Build());  // and recovers once memory is back
  EXPECT_EQ(tunnel.iTriangleCount, 5940);
}

TEST(TunnelBuildTest, RingsWithoutPointsCollapseOntoTheCurve) {
  CTunnel tunnel, centres;
  Configure(tunnel, kCurves[2], 30, 100, 0.3f, true);
  Configure(centres, kCurves[2], 30, 100, 0.0f, true);  // radius 0: every vertex on the curve
  ASSERT_TRUE(centres.Build());
  testing::internal::CaptureStderr();
  {
    FailAllocationsOfSize fail(30 * sizeof(CVector));
    EXPECT_TRUE(tunnel.Build());
    EXPECT_EQ(fail.Failures(), 100);
  }
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(tunnel.iTriangleCount, 5940);
  for (int i = 0; i < tunnel.iTriangleCount; ++i)
    for (int v = 0; v < 3; ++v)
      for (int k = 0; k < 5; ++k)
        ASSERT_EQ(tunnel.psTriangleList[i].fVertex[v][k], centres.psTriangleList[i].fVertex[v][k]);
}

TEST(TunnelTexturesTest, SlotsAreClampedAndTheListIsCopied) {
  CTunnel tunnel;
  unsigned int names[3] = {11, 12, 13};
  const struct { int slot, stored; } cases[] = {{0, 0}, {1, 1}, {5, 1}, {-1, 0}, {2, 1}, {-100, 0}};
  for (const auto& c : cases) {
    tunnel.SetTextureList(0, nullptr, 0);
    tunnel.SetTextureList(1, nullptr, 0);
    EXPECT_EQ(tunnel.SetTextureList(c.slot, names, 3), 0);
    EXPECT_EQ(tunnel.iTextureCount[c.stored], 3) << "slot " << c.slot;
    EXPECT_EQ(tunnel.iTextureCount[1 - c.stored], 0) << "slot " << c.slot;
  }
  names[0] = 99;
  EXPECT_EQ(tunnel.CurrentTexture(0), 11u);
}

TEST(TunnelTexturesTest, SelectTextureIgnoresIndicesOutsideTheList) {
  CTunnel tunnel;
  const unsigned int names[4] = {21, 22, 23, 24};
  tunnel.SetTextureList(0, names, 4);
  const struct {
    int index;
    unsigned int current;
  } steps[] = {{2, 23}, {4, 23}, {-1, 23}, {3, 24}, {0, 21}, {256, 21}};
  for (const auto& s : steps) {
    tunnel.SelectTexture(0, s.index);
    EXPECT_EQ(tunnel.CurrentTexture(0), s.current) << "index " << s.index;
  }
  EXPECT_EQ(tunnel.CurrentTexture(1), 0u);  // an empty slot binds no texture
  tunnel.SelectTexture(1, 0);
  EXPECT_EQ(tunnel.iCurrentTexture[1], 0);
}

TEST(TunnelTexturesTest, WithoutMemoryTheSlotIsEmptyAndSaysSo) {
  CTunnel tunnel;
  const unsigned int names[256] = {7};
  ASSERT_EQ(tunnel.SetTextureList(1, names, 256), 0);
  tunnel.SelectTexture(1, 200);
  {
    FailAllocationsOfSize fail(100 * sizeof(unsigned int));
    EXPECT_EQ(tunnel.SetTextureList(1, names, 100), 1);
  }
  EXPECT_EQ(tunnel.puiTextureList[1], nullptr);
  EXPECT_EQ(tunnel.iTextureCount[1], 0);
  EXPECT_EQ(tunnel.CurrentTexture(1), 0u);
  tunnel.SelectTexture(1, 5);
  EXPECT_EQ(tunnel.CurrentTexture(1), 0u);
  EXPECT_EQ(tunnel.SetTextureList(1, nullptr, 3), 1);  // no names to copy
  EXPECT_EQ(tunnel.SetTextureList(1, names, -1), 1);
  EXPECT_EQ(tunnel.iTextureCount[1], 0);
}

}  // namespace
