#include <gtest/gtest.h>

#include <cstdint>
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
const Curve kCurves[] = {
    {{0, 0, 110}, {0, 3, 3}, {0, 0, 115}, {0, 3, -3}},
    {{0, -0.1f, 0}, {-0.1f, -0.1f, 0}, {0, -1, 0}, {0.1f, 0.1f, 0}},
    {{0, 0, 110}, {2.1f, -1.3f, 3}, {0, 0, 115}, {-0.4f, 2.9f, -3}},
    {{1, 2, 3}, {0.5f, 0, 0}, {-4, 5, -6}, {0, 0.5f, 0.25f}},
};

void Configure(CTunnel& tunnel, const Curve& c, int n = 30, int m = 100, float radius = 0.3f,
               bool reversed = true) {
  std::memcpy(tunnel.fStart, c.s, sizeof c.s);
  std::memcpy(tunnel.fEnd, c.e, sizeof c.e);
  tunnel.cvStartHandle.Set(c.hs[0], c.hs[1], c.hs[2]);
  tunnel.cvEndHandle.Set(c.he[0], c.he[1], c.he[2]);
  tunnel.iSegments = n;
  tunnel.iRings = m;
  tunnel.fRadius = radius;
  tunnel.bReversed = reversed;
}

void ExpectSameBits(const CTunnel& built, const CTunnel& plain) {
  ASSERT_EQ(built.iTriangleCount, plain.iTriangleCount);
  ASSERT_NE(built.psTriangleList, nullptr);
  EXPECT_EQ(std::memcmp(built.psTriangleList, plain.psTriangleList,
                        sizeof(STriangle) * static_cast<std::size_t>(plain.iTriangleCount)),
            0);
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
      SCOPED_TRACE(::testing::Message() << shape.n << " x " << shape.m << ", reversed " << shape.reversed);
      Configure(tunnel, curve, shape.n, shape.m, shape.radius, shape.reversed);
      CTunnel plain;
      Configure(plain, curve, shape.n, shape.m, shape.radius, shape.reversed);
      StraightBuild(plain);
      ASSERT_TRUE(tunnel.Build());
      ExpectSameBits(tunnel, plain);
      ASSERT_TRUE(tunnel.Build());  // again, through the kept buffers
      ExpectSameBits(tunnel, plain);
    }
  }
}

TEST(TunnelBuildTest, RingsSitAtTheAccumulatedParameterSoTheLastIsNotQuiteAtPointNineNine) {
  // With radius 0 every vertex is its ring's centre on the curve.
  CTunnel tunnel;
  Configure(tunnel, kCurves[3], 4, 100, 0.0f, false);
  ASSERT_TRUE(tunnel.Build());
  const float p0[3] = {1, 2, 3}, p1[3] = {1.5f, 2, 3}, p2[3] = {-4, 5.5f, -5.75f}, p3[3] = {-4, 5, -6};
  float t = 0.0f, expected[3];
  for (int r = 0; r < 100; ++r) {
    // Vertex A of ring pair r's first quad is point 0 of ring r; the last
    // ring is vertex C of the last pair.
    const float* a =
        r < 99 ? tunnel.psTriangleList[2 * 4 * r].fVertex[0] : tunnel.psTriangleList[2 * 4 * 98].fVertex[2];
    BezierPoint(p0, p1, p2, p3, t, expected);
    EXPECT_EQ(std::memcmp(a, expected, sizeof expected), 0) << "ring " << r;
    if (r < 99) t += 1.0f / 100.0f;
  }
  float exact[3];
  BezierPoint(p0, p1, p2, p3, 0.99f, exact);
  EXPECT_NE(std::memcmp(exact, expected, sizeof exact), 0);
}

TEST(TunnelBuildTest, TextureCoordinatesRunAroundAndAlongWithTheClosingQuadAtOne) {
  CTunnel tunnel;
  Configure(tunnel, kCurves[0], 30, 100, 0.3f, false);
  ASSERT_TRUE(tunnel.Build());
  ASSERT_EQ(tunnel.iTriangleCount, 5940);
  // u is j / (N + 1), never N / (N + 1), plus the closing quad's 1.0; v is r / (M - 1).
  std::set<float> us, vs, expectedU = {1.0f}, expectedV;
  for (int i = 0; i < tunnel.iTriangleCount; ++i)
    for (const auto& vertex : tunnel.psTriangleList[i].fVertex) {
      us.insert(vertex[3]);
      vs.insert(vertex[4]);
    }
  for (int j = 0; j < 30; ++j) expectedU.insert(static_cast<float>(j) / 31.0f);
  for (int r = 0; r < 100; ++r) expectedV.insert(static_cast<float>(r) / 99.0f);
  EXPECT_EQ(us, expectedU);
  EXPECT_EQ(vs, expectedV);

  // Quad j of ring pair r: triangles (A, B, C) and (B, D, C).
  const STriangle* pair = &tunnel.psTriangleList[2 * 30 * 10];
  EXPECT_EQ(pair[2 * 5].fVertex[0][3], 5.0f / 31.0f);   // A
  EXPECT_EQ(pair[2 * 5].fVertex[1][3], 6.0f / 31.0f);   // B
  EXPECT_EQ(pair[2 * 5].fVertex[0][4], 10.0f / 99.0f);  // A on ring 10
  EXPECT_EQ(pair[2 * 5].fVertex[2][4], 11.0f / 99.0f);  // C, one ring on
  const STriangle* closing = &pair[2 * 29];
  EXPECT_EQ(closing[0].fVertex[0][3], 29.0f / 31.0f);  // A keeps its u
  EXPECT_EQ(closing[0].fVertex[1][3], 1.0f);           // B wraps to point 0 but takes u = 1
  EXPECT_EQ(closing[1].fVertex[1][3], 1.0f);           // D too
  EXPECT_EQ(std::memcmp(closing[0].fVertex[1], pair[0].fVertex[0], 3 * sizeof(float)), 0);
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
    const float* expected[6] = {a, c, b, b, c, f[1].fVertex[1]};
    for (int k = 0; k < 6; ++k)
      ASSERT_EQ(std::memcmp(r[k / 3].fVertex[k % 3], expected[k], 5 * sizeof(float)), 0) << "triangle " << q;
    for (int k = 0; k < 6; ++k) {
      ASSERT_EQ(r[k / 3].fNormal[k % 3], -f[k / 3].fNormal[k % 3]);
      ASSERT_EQ(f[k / 3].fNormal[k % 3], f[0].fNormal[k % 3]);  // one normal per quad
    }
  }
}

TEST(TunnelBuildTest, TooFewSegmentsOrRingsBuildNothingAndKeepThePreviousList) {
  CTunnel tunnel;
  Configure(tunnel, kCurves[0]);
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

TEST(TunnelBuildTest, WithoutMemoryForTheGridThePreviousListStaysAndForTheListThereIsNone) {
  CTunnel tunnel, previous;
  Configure(tunnel, kCurves[0]);
  Configure(previous, kCurves[0]);
  ASSERT_TRUE(tunnel.Build());
  StraightBuild(previous);
  Configure(tunnel, kCurves[2], 40);  // a larger grid is needed, first of all
  {
    FailAllocations fail(0, SIZE_MAX);
    EXPECT_FALSE(tunnel.Build());
    EXPECT_EQ(fail.Failures(), 1);
  }
  ExpectSameBits(tunnel, previous);

  CTunnel fresh;
  Configure(fresh, kCurves[0]);
  {
    FailAllocations fail(5940 * sizeof(STriangle));
    EXPECT_FALSE(fresh.Build());
    EXPECT_EQ(fail.Failures(), 1);
  }
  EXPECT_EQ(fresh.psTriangleList, nullptr);
  EXPECT_EQ(fresh.iTriangleCount, 0);
  EXPECT_TRUE(fresh.Build());  // and recovers once memory is back
  EXPECT_EQ(fresh.iTriangleCount, 5940);
}

TEST(TunnelBuildTest, RingsWithoutPointsCollapseOntoTheCurve) {
  CTunnel tunnel, centres;
  Configure(tunnel, kCurves[2]);
  Configure(centres, kCurves[2], 30, 100, 0.0f);  // radius 0: every vertex on the curve
  ASSERT_TRUE(centres.Build());
  testing::internal::CaptureStderr();
  {
    FailAllocations fail(30 * sizeof(CVector));
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

TEST(TunnelTexturesTest, SlotsAreClampedTheListCopiedAndIndicesOutsideItIgnored) {
  CTunnel tunnel;
  unsigned int names[4] = {21, 22, 23, 24};
  const struct { int slot, stored; } slots[] = {{0, 0}, {1, 1}, {5, 1}, {-1, 0}, {-100, 0}};
  for (const auto& c : slots) {
    tunnel.SetTextureList(0, nullptr, 0);
    tunnel.SetTextureList(1, nullptr, 0);
    EXPECT_EQ(tunnel.SetTextureList(c.slot, names, 4), 0);
    EXPECT_EQ(tunnel.iTextureCount[c.stored], 4) << "slot " << c.slot;
    EXPECT_EQ(tunnel.iTextureCount[1 - c.stored], 0) << "slot " << c.slot;
  }
  names[2] = 99;  // the tunnel holds its own copy
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
    FailAllocations fail(100 * sizeof(unsigned int));
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
