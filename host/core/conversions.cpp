#include "conversions.h"

#include <cmath>
#include <limits>
#include <string>

namespace hz {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int radix) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < radix ? v : -1;
}

// Reads one number from a stream of characters that a policy feeds it.
// The whole-text and prefix modes differ only in how blanks are treated, so
// both share this scanner: `Next` yields the next significant character.
class Scanner {
 public:
  Scanner(std::string_view text, bool skipInnerBlanks) : text_(text), skipInner_(skipInnerBlanks) {}

  // Reads a number; returns nothing when no digit could be read.
  std::optional<double> Read() {
    SkipBlanks();
    std::string literal;
    if (Peek() == '+' || Peek() == '-') literal += Take();
    if (Peek() == '&') {
      const std::size_t mark = pos_;
      Take();
      const char kind = Peek();
      const int radix = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
      if (radix == 0) {
        pos_ = mark;
        return std::nullopt;
      }
      Take();
      double value = 0;
      bool any = false;
      while (DigitValue(Peek(), radix) >= 0) {
        value = value * radix + DigitValue(Take(), radix);
        any = true;
      }
      if (!any) return std::nullopt;
      return literal == "-" ? -value : value;
    }
    bool digits = false;
    while (IsDigit(Peek())) { literal += Take(); digits = true; }
    if (Peek() == '.') {
      literal += Take();
      while (IsDigit(Peek())) { literal += Take(); digits = true; }
    }
    if (!digits) return std::nullopt;
    if (Peek() == 'E' || Peek() == 'e') {
      // The exponent counts only when digits follow; otherwise the "E" is left unread.
      const std::size_t mark = pos_;
      std::string exponent(1, Take());
      if (Peek() == '+' || Peek() == '-') exponent += Take();
      bool expDigits = false;
      while (IsDigit(Peek())) { exponent += Take(); expDigits = true; }
      if (expDigits) literal += exponent;
      else pos_ = mark;
    }
    return std::strtod(literal.c_str(), nullptr);
  }

  void SkipBlanks() { while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_; }
  bool AtEnd() const { return pos_ >= text_.size(); }

 private:
  char Peek() {
    if (skipInner_) SkipBlanks();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  char Take() { return text_[pos_++]; }

  std::string_view text_;
  bool skipInner_;
  std::size_t pos_ = 0;
};

template <typename T>
std::optional<T> ToIntegerType(double rounded) {
  if (!std::isfinite(rounded)) return std::nullopt;
  if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<T>::max()))
    return std::nullopt;
  return static_cast<T>(rounded);
}

}  // namespace

std::optional<double> ParseWholeNumber(std::string_view text) {
  Scanner scanner(text, false);
  const std::optional<double> value = scanner.Read();
  if (!value) return std::nullopt;
  scanner.SkipBlanks();
  if (!scanner.AtEnd()) return std::nullopt;
  return value;
}

double ReadLeadingNumber(std::string_view text) {
  Scanner scanner(text, true);
  return scanner.Read().value_or(0.0);
}

std::optional<std::int32_t> RoundToInt32(double value) {
  return ToIntegerType<std::int32_t>(std::nearbyint(value));
}

std::optional<std::int16_t> RoundToInt16(double value) {
  return ToIntegerType<std::int16_t>(std::nearbyint(value));
}

std::optional<std::int16_t> FloorToInt16(double value) {
  return ToIntegerType<std::int16_t>(std::floor(value));
}

}  // namespace hz
