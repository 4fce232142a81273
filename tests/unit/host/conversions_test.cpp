#include "conversions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hz {
namespace {

struct WholeCase {
  const char* text;
  std::optional<double> value;
};

TEST(ParseWholeNumber, AcceptsOnlyACompleteNumberWithBlanksAround) {
  const WholeCase cases[] = {
      {" 12 ", 12.0},   {"1.9", 1.9},       {"-1.5", -1.5},  {"1e3", 1000.0},   {"&H10", 16.0},
      {"&h1f", 31.0},   {"&O17", 15.0},     {"+7", 7.0},     {"\t3\t", 3.0},    {".5", 0.5},
      {"5.", 5.0},      {"2E-1", 0.2},      {"99999999999", 99999999999.0},
      {"12abc", std::nullopt}, {"", std::nullopt}, {"+", std::nullopt}, {"-", std::nullopt},
      {"1 2", std::nullopt},   {"abc", std::nullopt}, {"1e", std::nullopt}, {"&H", std::nullopt},
      {"&O8", std::nullopt},   {"&X1", std::nullopt}, {".", std::nullopt},  {"1..2", std::nullopt},
      {"- 1", std::nullopt},
  };
  for (const WholeCase& c : cases) {
    SCOPED_TRACE(c.text);
    const auto got = ParseWholeNumber(c.text);
    ASSERT_EQ(got.has_value(), c.value.has_value());
    if (c.value) {
      EXPECT_DOUBLE_EQ(*got, *c.value);
    }
  }
}

TEST(ReadLeadingNumber, SkipsBlanksAnywhereAndStopsAtTheFirstOtherCharacter) {
  const std::pair<const char*, double> cases[] = {
      {"1234", 1234},   {" 1234", 1234},  {"1 2 3 4", 1234}, {"12abc", 12},   {"abc", 0},
      {"", 0},          {"- 5", -5},      {"&H 1F", 31},     {"3.5x", 3.5},   {"1e2e3", 100},
      {"1e", 1},        {"7:8", 7},       {"  ", 0},         {"&Q1", 0},
  };
  for (const auto& [text, value] : cases) {
    SCOPED_TRACE(text);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber(text), value);
  }
}

TEST(Rounding, HalvesGoToTheEvenNumberAndRangesAreEnforced) {
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(3.5), 4);
  EXPECT_EQ(RoundToInt16(-2.5), -2);
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);  // rounds to even, inside the type
  EXPECT_EQ(RoundToInt16(40000), std::nullopt);
  EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(RoundToInt32(2147483648.0), std::nullopt);
  EXPECT_EQ(RoundToInt32(-2147483648.0), -2147483647 - 1);
  EXPECT_EQ(RoundToInt32(std::nan("")), std::nullopt);
  EXPECT_EQ(RoundToInt32(HUGE_VAL), std::nullopt);
}

TEST(Rounding, IntegerPartRoundsDown) {
  EXPECT_EQ(FloorToInt16(1.9), 1);
  EXPECT_EQ(FloorToInt16(-1.5), -2);
  EXPECT_EQ(FloorToInt16(32767.9), 32767);
  EXPECT_EQ(FloorToInt16(-32768.5), std::nullopt);
  EXPECT_EQ(FloorToInt16(40000), std::nullopt);
}

}  // namespace
}  // namespace hz
