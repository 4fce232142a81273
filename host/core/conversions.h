// Text to number, once for the whole host.
//
// Grammar (blank = space or tab):
//   number   := sign? ( decimal | radix )
//   sign     := "+" | "-"
//   decimal  := digits ( "." digits? )? exponent?  |  "." digits exponent?
//   exponent := ( "E" | "e" ) sign? digits
//   radix    := "&H" hexdigits  |  "&O" octdigits      (letters in either case)
//
// Whole-text conversion (settings values, the dialog's track field) accepts a
// number with any blanks before and after it and nothing else.
//
// Prefix reading (the preview window handle) skips blanks wherever they stand,
// even between digits, and stops at the first character that cannot continue
// the number; when no digit was read the value is 0.
//
// Radix numbers are read as unsigned values (&HFFFF is 65535).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hz {

// The whole text as one number, or nothing when it is not exactly a number.
std::optional<double> ParseWholeNumber(std::string_view text);

// The number at the start of the text, blanks skipped anywhere; 0 when none.
double ReadLeadingNumber(std::string_view text);

// Round half to even; nothing when the result lies outside the type.
std::optional<std::int32_t> RoundToInt32(double value);
std::optional<std::int16_t> RoundToInt16(double value);

// Integer part rounding down (-1.5 gives -2); nothing outside the type.
std::optional<std::int16_t> FloorToInt16(double value);

}  // namespace hz
