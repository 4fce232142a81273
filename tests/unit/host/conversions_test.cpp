#include "conversions.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

TEST(ParseWholeNumber, AcceptsOnlyACompleteNumberWithBlanksAround) {
  constexpr std::nullopt_t no = std::nullopt;
  // clang-format off
  const std::pair<const char*, std::optional<double>> cases[] = {
      {" 12 ", 12.0}, {"\t3\t", 3.0},  {"1.9", 1.9},  {"-1.5", -1.5}, {"+7", 7.0},    {".5", 0.5},
      {"5.", 5.0},    {"1e3", 1000.0}, {"2E-1", 0.2}, {"-&H10", -16.0}, {"&h1f", 31.0}, {"&O17", 15.0},
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

}  // namespace
}  // namespace hz
