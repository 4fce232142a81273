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

// The renderer's nothrow array allocations of sizes in [smallest, largest]
// fail while one of these lives, to drive its out-of-memory paths.
bool g_failing = false;
std::size_t g_smallest = 0, g_largest = 0;
int g_failures = 0;

struct FailAllocations {
  FailAllocations(std::size_t smallest, std::size_t largest) {
    g_smallest = smallest;
    g_largest = largest;
    g_failures = 0;
    g_failing = true;
  }
  explicit FailAllocations(std::size_t bytes) : FailAllocations(bytes, bytes) {}
  ~FailAllocations() { g_failing = false; }
  int Failures() const { return g_failures; }
};

}  // namespace

// The default array form forwards to the scalar one, and so does its delete.
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  if (g_failing && size >= g_smallest && size <= g_largest) {
    ++g_failures;
    return nullptr;
  }
  return ::operator new(size, tag);
}

namespace {

constexpr float kStep = 6.283193f;  // the ring's angle step, not 2 pi

struct Vec {
  float x, y, z;
};
Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec At(const float* vertex) { return {vertex[0], vertex[1], vertex[2]}; }

TEST(RingTest, PointsRunRoundTheDirectionFromTheFirstBasisRowTowardsTheSecond) {
  // Direction (1, 2, 2): axes (-y, x, 0) and (-xz/q, -yz/q, 1), normalized.
  const Vec first = {-2 / std::sqrt(5.0f), 1 / std::sqrt(5.0f), 0};
  const Vec second = {-2 / std::sqrt(45.0f), -4 / std::sqrt(45.0f), 5 / std::sqrt(45.0f)};
  CRing ring;
  ring.SetCount(7);
  ring.SetRadius(0.5f);
  ring.SetDirection(CVector(1, 2, 2));
  for (int i = 0; i < 7; ++i) {
    const float angle = static_cast<float>(i) * kStep / 7.0f, cs = std::cos(angle), sn = std::sin(angle);
    const CVector& p = ring.GetPoints()[i];
    EXPECT_NEAR(p.GetX(), 0.5f * (cs * first.x + sn * second.x), 1e-6f) << i;
    EXPECT_NEAR(p.GetY(), 0.5f * (cs * first.y + sn * second.y), 1e-6f) << i;
    EXPECT_NEAR(p.GetZ(), 0.5f * (cs * first.z + sn * second.z), 1e-6f) << i;
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

// Vertex A of quad j between rings r and r + 1 (forward order: (A, B, C), (B, D, C)).
const float* QuadA(const CTunnel& t, int r, int j) {
  return t.psTriangleList[2 * (t.iSegments * r + j)].fVertex[0];
}

TEST(TunnelBuildTest, RingsSitOnTheCurveAtTheAccumulatedStepPerpendicularToIt) {
  CTunnel tunnel;
  Configure(tunnel, 30, 100, 0.3f, false);
  ASSERT_TRUE(tunnel.Build());
  ASSERT_EQ(tunnel.iTriangleCount, 5940);
  float t = 0.0f;
  for (int r = 0; r < 100; ++r, t += 0.01f) {
    const Vec centre = Curve(t), back = Sub(centre, Curve(t + 0.01f));
    const float backLength = std::sqrt(Dot(back, back));
    for (int j = 0; j < 30; ++j) {
      // Ring r's points are the quads' A vertices; the last ring's are the last quads' C.
      const float* v = r < 99 ? QuadA(tunnel, r, j) : tunnel.psTriangleList[2 * (30 * 98 + j)].fVertex[2];
      const Vec offset = Sub(At(v), centre);
      ASSERT_NEAR(std::sqrt(Dot(offset, offset)), 0.3f, 2e-5f) << "ring " << r << " point " << j;
      ASSERT_NEAR(Dot(offset, back) / backLength, 0.0f, 2e-5f) << "ring " << r << " point " << j;
      if (j == 0) {  // along the first basis row (-y, x, 0) of the direction back along the curve
        const float q = std::sqrt(back.x * back.x + back.y * back.y);
        ASSERT_NEAR(offset.x, -0.3f * back.y / q, 2e-5f) << "ring " << r;
        ASSERT_NEAR(offset.y, 0.3f * back.x / q, 2e-5f) << "ring " << r;
      }
    }
  }
  // With radius 0 each ring is its centre, taken bit for bit at the accumulated t.
  Configure(tunnel, 4, 100, 0.0f, false);
  ASSERT_TRUE(tunnel.Build());
  const Vec last = Curve(t - 0.01f);
  EXPECT_EQ(std::memcmp(tunnel.psTriangleList[2 * (4 * 98)].fVertex[2], &last, sizeof last), 0);
  const Vec exact = Curve(0.99f);
  EXPECT_NE(std::memcmp(&exact, &last, sizeof last), 0) << "the last ring is not quite at 0.99";
}

TEST(TunnelBuildTest, TextureCoordinatesRunAroundAndAlongWithTheClosingQuadAtOne) {
  CTunnel tunnel;
  Configure(tunnel, 30, 100, 0.3f, false);
  ASSERT_TRUE(tunnel.Build());
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

  const STriangle* closing = &tunnel.psTriangleList[2 * (30 * 10 + 29)];
  EXPECT_EQ(closing[0].fVertex[1][3], 1.0f);  // B is point 0 again but takes u = 1
  EXPECT_EQ(std::memcmp(closing[0].fVertex[1], QuadA(tunnel, 10, 0), 3 * sizeof(float)), 0);
  EXPECT_EQ(std::memcmp(closing[1].fVertex[1], QuadA(tunnel, 11, 0), 3 * sizeof(float)), 0);
}

TEST(TunnelBuildTest, OneNormalPerQuadAndReversingSwapsTheOrderAndTheSign) {
  CTunnel forward, reversed;
  Configure(forward, 30, 100, 0.3f, false);
  Configure(reversed, 30, 100, 0.3f, true);
  ASSERT_TRUE(forward.Build());
  ASSERT_TRUE(reversed.Build());
  for (int q = 0; q < forward.iTriangleCount; q += 2) {
    const STriangle* f = &forward.psTriangleList[q];
    const STriangle* r = &reversed.psTriangleList[q];
    // n = -normalize((B - A) x (C - A)), from the forward triangle (A, B, C).
    const Vec a = At(f[0].fVertex[0]), b = At(f[0].fVertex[1]), c = At(f[0].fVertex[2]);
    const Vec cross = Cross(Sub(b, a), Sub(c, a));
    const float length = std::sqrt(Dot(cross, cross));
    const float n[3] = {-cross.x / length, -cross.y / length, -cross.z / length};
    // forward (A, B, C), (B, D, C); reversed (A, C, B), (B, C, D)
    const float* expected[6] = {f[0].fVertex[0], f[0].fVertex[2], f[0].fVertex[1],
                                f[0].fVertex[1], f[0].fVertex[2], f[1].fVertex[1]};
    EXPECT_EQ(std::memcmp(f[1].fVertex[0], f[0].fVertex[1], sizeof f[1].fVertex[0]), 0) << "quad " << q / 2;
    EXPECT_EQ(std::memcmp(f[1].fVertex[2], f[0].fVertex[2], sizeof f[1].fVertex[2]), 0) << "quad " << q / 2;
    for (int k = 0; k < 6; ++k)
      ASSERT_EQ(std::memcmp(r[k / 3].fVertex[k % 3], expected[k], 5 * sizeof(float)), 0) << "quad " << q / 2;
    for (int k = 0; k < 3; ++k) {
      ASSERT_NEAR(f[0].fNormal[k], n[k], 1e-5f) << "quad " << q / 2;
      ASSERT_EQ(f[1].fNormal[k], f[0].fNormal[k]) << "quad " << q / 2;
      ASSERT_EQ(r[0].fNormal[k], -f[0].fNormal[k]) << "quad " << q / 2;
      ASSERT_EQ(r[1].fNormal[k], -f[0].fNormal[k]) << "quad " << q / 2;
    }
  }
}

TEST(TunnelBuildTest, ABuildThroughKeptBuffersEqualsAFreshOne) {
  const struct { int n, m; } shapes[] = {{30, 100}, {7, 2}, {64, 33}, {30, 100}};
  CTunnel kept;
  for (const auto& shape : shapes) {
    Configure(kept, shape.n, shape.m);
    CTunnel fresh;
    Configure(fresh, shape.n, shape.m);
    ASSERT_TRUE(kept.Build());
    ASSERT_TRUE(fresh.Build());
    ASSERT_EQ(kept.iTriangleCount, 2 * shape.n * (shape.m - 1));
    const std::size_t bytes = sizeof(STriangle) * static_cast<std::size_t>(kept.iTriangleCount);
    EXPECT_EQ(std::memcmp(kept.psTriangleList, fresh.psTriangleList, bytes), 0)
        << shape.n << " x " << shape.m;
  }
}

TEST(TunnelBuildTest, TooFewSegmentsOrRingsOrNoMemoryKeepThePreviousList) {
  CTunnel tunnel;
  Configure(tunnel);
  ASSERT_TRUE(tunnel.Build());
  const STriangle* list = tunnel.psTriangleList;
  STriangle first = list[0];
  const struct { int n, m; } refused[] = {{30, 1}, {0, 100}, {65536, 65536}};
  for (const auto& shape : refused) {
    Configure(tunnel, shape.n, shape.m);
    EXPECT_FALSE(tunnel.Build()) << shape.n << " x " << shape.m;
    EXPECT_EQ(tunnel.psTriangleList, list);
    EXPECT_EQ(tunnel.iTriangleCount, 5940);
  }
  Configure(tunnel, 40, 100);  // a larger grid is needed, first of all
  tunnel.cvStartHandle.Set(9, 9, 9);
  {
    FailAllocations fail(0, SIZE_MAX);
    EXPECT_FALSE(tunnel.Build());
  }
  EXPECT_EQ(tunnel.iTriangleCount, 5940);
  EXPECT_EQ(std::memcmp(&tunnel.psTriangleList[0], &first, sizeof first), 0);

  CTunnel fresh;  // no memory for the list: there is none, and its count is 0
  Configure(fresh);
  {
    FailAllocations fail(5940 * sizeof(STriangle));
    EXPECT_FALSE(fresh.Build());
  }
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
  {
    FailAllocations fail(30 * sizeof(CVector));
    EXPECT_TRUE(tunnel.Build());
    EXPECT_EQ(fail.Failures(), 100);
  }
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

TEST(TunnelTexturesTest, SlotsAreClampedTheListCopiedAndIndicesOutsideItIgnored) {
  CTunnel tunnel;
  unsigned int names[4] = {21, 22, 23, 24};
  const struct { int slot, stored; } slots[] = {{0, 0}, {1, 1}, {5, 1}, {-1, 0}};
  for (const auto& c : slots) {
    tunnel.SetTextureList(0, nullptr, 0);
    tunnel.SetTextureList(1, nullptr, 0);
    EXPECT_EQ(tunnel.SetTextureList(c.slot, names, 4), 0);
    EXPECT_EQ(tunnel.CurrentTexture(c.stored), 21u) << "slot " << c.slot;
    EXPECT_EQ(tunnel.CurrentTexture(1 - c.stored), 0u) << "slot " << c.slot;  // an empty slot binds none
  }
  names[2] = 99;  // the tunnel holds its own copy
  const struct {
    int index;
    unsigned int current;
  } steps[] = {{2, 23}, {4, 23}, {-1, 23}, {3, 24}};
  for (const auto& s : steps) {
    tunnel.SelectTexture(0, s.index);
    EXPECT_EQ(tunnel.CurrentTexture(0), s.current) << "index " << s.index;
  }
  tunnel.SelectTexture(0, 3);
  {
    FailAllocations fail(100 * sizeof(unsigned int));
    const unsigned int many[100] = {7};
    EXPECT_EQ(tunnel.SetTextureList(0, many, 100), 1);
  }
  EXPECT_EQ(tunnel.iTextureCount[0], 0);  // no memory: the slot is empty, not the old count
  EXPECT_EQ(tunnel.CurrentTexture(0), 0u);
  EXPECT_EQ(tunnel.SetTextureList(0, nullptr, 3), 1);
}

}  // namespace
