#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "Classes/CRing.h"
#include "allocation_failure.h"
#include "straight_build.h"

namespace {

float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

TEST(CVectorTest, ComponentsByIndexAndZeroOutsideTheRange) {
  const CVector v(1.5f, -2.0f, 3.25f);
  const float expected[] = {0.0f, 1.5f, -2.0f, 3.25f, 0.0f};
  for (int i = -1; i <= 3; ++i) EXPECT_EQ(v.Get(i), expected[i + 1]) << "index " << i;
  EXPECT_EQ(v.Get(1000), 0.0f);
}

struct Direction {
  float x, y, z;
};

class RingDirections : public ::testing::TestWithParam<Direction> {};

TEST_P(RingDirections, PointsAreThoseOfThePlainGenerationOnACirclePerpendicularToTheDirection) {
  const Direction d = GetParam();
  const float direction[3] = {d.x, d.y, d.z};
  const float length = std::sqrt(Dot(direction, direction));
  const float axis[3] = {d.x / length, d.y / length, d.z / length};
  CRing ring;  // one ring through every phase: its kept tables must follow
  ring.SetCount(30);
  ring.SetRadius(0.3f);
  for (const float phase : {0.0f, 1.0f, 10.5f}) {
    ring.SetPhase(phase);
    ring.SetDirection(CVector(d.x, d.y, d.z));
    ring.SetDirection(CVector(d.x, d.y, d.z));  // again, through the kept tables
    float expected[30][3];
    StraightRing(direction, 30, 0.3f, phase, expected);
    for (int i = 0; i < 30; ++i) {
      float p[3];
      ASSERT_TRUE(ring.GetPoint(i, p[0], p[1], p[2]));
      EXPECT_EQ(std::memcmp(p, expected[i], sizeof p), 0) << "point " << i << " phase " << phase;
      EXPECT_NEAR(std::sqrt(Dot(p, p)), 0.3f, 1e-6f) << "point " << i;
      EXPECT_NEAR(Dot(p, axis), 0.0f, 1e-6f) << "point " << i;
    }
  }
  // The direction is normalized in place and becomes the basis' last row.
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(ring.GetBasis()[2][k], axis[k], 1e-6f);
}

INSTANTIATE_TEST_SUITE_P(Ring, RingDirections,
                         ::testing::Values(Direction{1, 0, 0}, Direction{0, -1, 0},
                                           Direction{0.3f, 0.2f, -5.0f}, Direction{-0.01f, 0.02f, 0.003f},
                                           Direction{2, 3, 4}));

TEST(RingTest, GetPointRefusesIndicesOutsideTheRingAndLeavesTheOutputsAlone) {
  CRing ring;
  ring.SetCount(30);
  ring.SetDirection(CVector(1.0f, 2.0f, 3.0f));
  ring.SetCount(5);  // fewer points regenerated in the same ring
  ring.SetRadius(0.5f);
  ring.GenerateIt();
  float x = 7.0f, y = 8.0f, z = 9.0f;
  for (const int index : {5, 6, -1}) {
    EXPECT_FALSE(ring.GetPoint(index, x, y, z)) << index;
    EXPECT_EQ(x + y + z, 24.0f);
  }
  EXPECT_TRUE(ring.GetPoint(4, x, y, z));
  EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 0.5f, 1e-6f);
  CRing empty;
  EXPECT_FALSE(empty.GetPoint(0, x, y, z));
}

TEST(RingTest, WithoutMemoryTheRingHasNoPointsAndTheCheckIsDescribed) {
  CRing ring;
  ring.SetCount(30);
  testing::internal::CaptureStderr();
  {
    FailAllocations fail(30 * sizeof(CVector));
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
  ring.GenerateIt();  // with memory back the ring recovers
  EXPECT_TRUE(ring.GetPoint(29, x, y, z));
}

}  // namespace
