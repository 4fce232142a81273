#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Classes/CRing.h"
#include "allocation_failure.h"
#include "straight_build.h"

namespace {

float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

TEST(CVectorTest, ComponentsByIndexAndOutsideTheRange) {
  const CVector v(1.5f, -2.0f, 3.25f);
  const struct {
    int index;
    float expected;
  } cases[] = {{0, 1.5f}, {1, -2.0f}, {2, 3.25f}, {3, 0.0f}, {-1, 0.0f}, {1000, 0.0f}};
  for (const auto& c : cases) EXPECT_EQ(v.Get(c.index), c.expected) << "index " << c.index;
}

TEST(CVectorTest, LengthScalingAndDefault) {
  const CVector v(3.0f, 4.0f, 12.0f);
  EXPECT_FLOAT_EQ(v.Length(), 13.0f);
  const CVector doubled = v.Multiply(2.0f);
  const CVector halved = v.Divide(2.0f);
  EXPECT_EQ(doubled.GetZ(), 24.0f);
  EXPECT_EQ(halved.GetX(), 1.5f);
  EXPECT_EQ(v.GetY(), 4.0f);  // the operations make new vectors
  EXPECT_EQ(CVector().Length(), 0.0f);
}

struct Direction {
  float x, y, z;
};

class RingDirections : public ::testing::TestWithParam<Direction> {};

TEST_P(RingDirections, PointsLieOnACircleOfTheRadiusPerpendicularToTheDirection) {
  const Direction d = GetParam();
  CRing ring;
  ring.SetCount(30);
  ring.SetRadius(0.3f);
  ring.SetDirection(CVector(d.x, d.y, d.z));
  const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  const float axis[3] = {d.x / length, d.y / length, d.z / length};
  for (int i = 0; i < 30; ++i) {
    float p[3];
    ASSERT_TRUE(ring.GetPoint(i, p[0], p[1], p[2]));
    EXPECT_NEAR(std::sqrt(Dot(p, p)), 0.3f, 1e-6f) << "point " << i;
    EXPECT_NEAR(Dot(p, axis), 0.0f, 1e-6f) << "point " << i;
  }
  // The direction is normalized in place and becomes the basis' last row.
  EXPECT_NEAR(ring.GetDirection().Length(), 1.0f, 1e-6f);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(ring.GetBasis()[2][k], axis[k], 1e-6f);
}

TEST_P(RingDirections, PointsAreBitForBitThoseOfThePlainGeneration) {
  const Direction d = GetParam();
  const float direction[3] = {d.x, d.y, d.z};
  for (const float phase : {0.0f, 1.0f, 10.5f}) {
    CRing ring;
    ring.SetCount(30);
    ring.SetRadius(0.3f);
    ring.SetPhase(phase);
    ring.SetDirection(CVector(d.x, d.y, d.z));
    ring.SetDirection(CVector(d.x, d.y, d.z));  // again, through the kept tables
    float expected[30][3];
    StraightRing(direction, 30, 0.3f, phase, expected);
    for (int i = 0; i < 30; ++i) {
      float p[3];
      ring.GetPoint(i, p[0], p[1], p[2]);
      EXPECT_EQ(std::memcmp(p, expected[i], sizeof p), 0) << "point " << i << " phase " << phase;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Ring, RingDirections,
                         ::testing::Values(Direction{1, 0, 0}, Direction{0, -1, 0},
                                           Direction{0.3f, 0.2f, -5.0f}, Direction{-0.01f, 0.02f, 0.003f},
                                           Direction{2, 3, 4}));

TEST(RingTest, PointZeroLiesAlongTheFirstRowAndThePointsAdvanceTowardsTheSecond) {
  CRing ring;
  ring.SetCount(8);
  ring.SetRadius(2.0f);
  ring.SetDirection(CVector(0.5f, -0.25f, 1.0f));
  const auto& basis = ring.GetBasis();
  for (int r = 0; r < 3; ++r) EXPECT_NEAR(Dot(basis[r], basis[r]), 1.0f, 1e-6f);
  EXPECT_NEAR(Dot(basis[0], basis[1]), 0.0f, 1e-6f);
  float p0[3], p1[3];
  ring.GetPoint(0, p0[0], p0[1], p0[2]);
  ring.GetPoint(1, p1[0], p1[1], p1[2]);
  EXPECT_NEAR(Dot(p0, basis[0]), 2.0f, 1e-6f);
  EXPECT_NEAR(Dot(p0, basis[1]), 0.0f, 1e-6f);
  // One step of the not-quite-2-pi turn.
  const float step = 6.283193f / 8.0f;
  EXPECT_NEAR(Dot(p1, basis[0]), 2.0f * std::cos(step), 1e-6f);
  EXPECT_NEAR(Dot(p1, basis[1]), 2.0f * std::sin(step), 1e-6f);
}

TEST(RingTest, APhaseTurnsThePointsByPhaseOverCount) {
  CRing ring;
  ring.SetCount(4);
  ring.SetPhase(1.0f);
  ring.SetDirection(CVector(1.0f, 1.0f, 0.0f));
  const auto& basis = ring.GetBasis();
  float p[3];
  ring.GetPoint(2, p[0], p[1], p[2]);
  const float angle = (2.0f * 6.283193f + 1.0f) / 4.0f;
  EXPECT_NEAR(Dot(p, basis[0]), std::cos(angle), 1e-6f);
  EXPECT_NEAR(Dot(p, basis[1]), std::sin(angle), 1e-6f);
}

TEST(RingTest, GetPointRefusesIndicesOutsideTheRingAndLeavesTheOutputsAlone) {
  CRing ring;
  ring.SetCount(5);
  ring.SetDirection(CVector(1.0f, 2.0f, 3.0f));
  for (const int index : {5, 6, -1}) {
    float x = 7.0f, y = 8.0f, z = 9.0f;
    EXPECT_FALSE(ring.GetPoint(index, x, y, z)) << index;
    EXPECT_EQ(x, 7.0f);
    EXPECT_EQ(y, 8.0f);
    EXPECT_EQ(z, 9.0f);
  }
  float x, y, z;
  EXPECT_TRUE(ring.GetPoint(4, x, y, z));
  CRing empty;
  EXPECT_FALSE(empty.GetPoint(0, x, y, z));
}

TEST(RingTest, ADirectionAlongZOrOfLengthZeroGivesNonFinitePointsWithoutFailing) {
  for (const CVector direction : {CVector(0.0f, 0.0f, 1.0f), CVector(0.0f, 0.0f, 0.0f)}) {
    CRing ring;
    ring.SetCount(6);
    ring.SetDirection(direction);
    float x, y, z;
    ASSERT_TRUE(ring.GetPoint(3, x, y, z));
    EXPECT_FALSE(std::isfinite(x) && std::isfinite(y) && std::isfinite(z));
  }
}

TEST(RingTest, ChangingTheCountRegeneratesThatManyPoints) {
  CRing ring;
  ring.SetCount(30);
  ring.SetDirection(CVector(1.0f, 0.0f, 0.0f));
  ring.SetCount(7);
  ring.SetRadius(0.5f);
  ring.GenerateIt();
  float x, y, z;
  EXPECT_TRUE(ring.GetPoint(6, x, y, z));
  EXPECT_FALSE(ring.GetPoint(7, x, y, z));
  EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 0.5f, 1e-6f);
}

TEST(RingTest, WithoutMemoryTheRingHasNoPointsAndTheCheckIsDescribed) {
  CRing ring;
  ring.SetCount(30);
  testing::internal::CaptureStderr();
  {
    FailAllocationsOfSize fail(30 * sizeof(CVector));
    ring.SetDirection(CVector(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(fail.Failures(), 1);
  }
  const std::string diagnostic = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ring.GetPoints(), nullptr);
  float x, y, z;
  EXPECT_FALSE(ring.GetPoint(0, x, y, z));
  EXPECT_EQ(diagnostic.rfind("Filename : ", 0), 0u) << diagnostic;
  EXPECT_NE(diagnostic.find(
                "CRing.cpp\nLine : 89\nMethod : CRing::GenerateIt()\nCondition : if(pcVectorList == NULL)"),
            std::string::npos)
      << diagnostic;
  // With memory back the ring recovers on the next generation.
  ring.GenerateIt();
  EXPECT_TRUE(ring.GetPoint(29, x, y, z));
}

}  // namespace
