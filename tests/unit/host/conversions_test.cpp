#include "conversions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hz {
namespace {

TEST(ParseWholeNumber, AcceptsOnlyACompleteNumberWithBlanksAround) {
  constexpr std::nullopt_t no = std::nullopt;
  // clang-format off
  const std::pair<const char*, std::optional<double>> cases[] = {
      {" 12 ", 12.0}, {"\t3\t", 3.0},  {"1.9", 1.9},  {"-1.5", -1.5}, {"+7", 7.0},    {".5", 0.5},
      {"5.", 5.0},    {"1e3", 1000.0}, {"2E-1", 0.2}, {"&H10", 16.0}, {"&h1f", 31.0}, {"&O17", 15.0},
      {"99999999999", 99999999999.0},  {"12abc", no},  {"", no},      {"+", no},      {"1 2", no},
      {"1e", no},     {"&H", no},      {"&O8", no},   {".", no},      {"- 1", no}};
  // clang-format on
  for (const auto& [text, value] : cases) {
    SCOPED_TRACE(text);
    const auto got = ParseWholeNumber(text);
    ASSERT_EQ(got.has_value(), value.has_value());
    if (value) {
      EXPECT_DOUBLE_EQ(*got, *value);
    }
  }
}

// More cases through the track field (halves to even) and the settings (integer part).
TEST(Rounding, HalvesGoToEvenTheIntegerPartRoundsDownAndRangesAreEnforced) {
  EXPECT_EQ(RoundToInt16(-2.5), -2);
  EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);  // rounds to even, inside the type
  EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(RoundToInt32(2147483648.0), std::nullopt);
  EXPECT_EQ(RoundToInt32(std::nan("")), std::nullopt);
  EXPECT_EQ(RoundToInt32(HUGE_VAL), std::nullopt);
  EXPECT_EQ(FloorToInt16(-32768.5), std::nullopt);
}

}  // namespace
}  // namespace hz
