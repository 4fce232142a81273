// 24-bit Windows bitmap files as the renderer reads them: a 14-byte file
// header, a 40-byte information header, no colour table, bottom-up rows of
// blue-green-red triples padded to four bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hz {

struct Bitmap24 {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> rows;  // bottom row first, each padded to a multiple of 4 bytes

  static std::size_t Stride(std::int32_t width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }
};

// The picture held by a packed DIB (an information header followed by its
// pixels, as a bitmap resource stores it); nothing unless it is an
// uncompressed, bottom-up 24-bit picture whose pixels are all there.
std::optional<Bitmap24> Bitmap24FromPackedDib(const std::uint8_t* dib, std::size_t size);

// The whole file: 54 + stride x height bytes.
std::vector<std::uint8_t> EncodeBitmapFile(const Bitmap24& bitmap);

// Replaces `path` with the picture; false when the file could not be written whole.
bool WriteBitmapFile(const std::string& path, const Bitmap24& bitmap);

}  // namespace hz
