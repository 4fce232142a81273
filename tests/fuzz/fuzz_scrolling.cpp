// Any bytes as the scrolling texture's bitmap: the header check, then the
// shifts the loader makes of the picture. The file header's two reserved
// 16-bit fields (bytes 6 to 9, which the check ignores) give the step.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "textures.h"

namespace {
std::int16_t I16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | (p[1] << 8)); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kHeader = 54;
  int w = 0, h = 0;
  if (size < kHeader) return 0;  // the loader never hands a short header over
  if (!hz::CheckScrollingHeader(data, size, &w, &h)) return 0;
  if (w <= 0 || h <= 0 || w > hz::kMaxScrollingSide || h > hz::kMaxScrollingSide) __builtin_trap();
  const std::size_t bytes = 3 * static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  if (size - kHeader < bytes) __builtin_trap();

  // Exact-size copies, so that ASan sees any access outside the picture.
  std::vector<std::uint8_t> picture(data + kHeader, data + kHeader + bytes);
  std::vector<std::uint8_t> out(bytes), back(bytes);
  const long long dx = I16(data + 6), dy = I16(data + 8);
  // The loader multiplies the step by the texture's number; large products wrap the same way.
  for (const long long k : {1LL, 16LL, 1LL << 40}) {
    hz::ShiftPicture(picture.data(), w, h, k * dx, k * dy, out.data());
    // Shifting back restores the picture.
    hz::ShiftPicture(out.data(), w, h, -k * dx, -k * dy, back.data());
    if (back != picture) __builtin_trap();
  }
  hz::ShiftPicture(picture.data(), w, h, std::numeric_limits<long long>::min(),
                   std::numeric_limits<long long>::max(), out.data());
  return 0;
}
