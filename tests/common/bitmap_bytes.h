// Bitmap files built byte by byte for the tests, in every layout the
// renderer's readers meet: with or without the "BM" file header, 12-byte or
// 40-byte information headers, colour tables, padded rows.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace hz::testing {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

struct BitmapSpec {
  int width = 1;
  int height = 1;
  int bitCount = 24;
  int headerSize = 40;     // 12 or 40 (anything else to test refusals)
  bool fileHeader = true;  // the 14-byte "BM" header
  std::uint32_t colorsUsed = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, written in the header's entry size
  Bytes rows;                          // pixel data as stored, bottom row first, already padded
};

inline std::size_t Stride(int width, int bitCount) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32 * 4;
}

inline Bytes BuildBitmap(const BitmapSpec& s) {
  const std::size_t entry = s.headerSize == 12 ? 3 : 4;
  const std::size_t head = (s.fileHeader ? 14 : 0) + static_cast<std::size_t>(s.headerSize);
  const std::size_t offset = head + s.palette.size() * entry;
  Bytes b(offset, 0);
  const std::size_t info = s.fileHeader ? 14 : 0;
  if (s.fileHeader) {
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(offset + s.rows.size()));
    Put32(b, 10, static_cast<std::uint32_t>(offset));
  }
  Put32(b, info, static_cast<std::uint32_t>(s.headerSize));
  if (s.headerSize == 12) {
    Put16(b, info + 4, static_cast<std::uint32_t>(s.width));
    Put16(b, info + 6, static_cast<std::uint32_t>(s.height));
    Put16(b, info + 8, 1);
    Put16(b, info + 10, static_cast<std::uint32_t>(s.bitCount));
  } else if (s.headerSize >= 40) {
    Put32(b, info + 4, static_cast<std::uint32_t>(s.width));
    Put32(b, info + 8, static_cast<std::uint32_t>(s.height));
    Put16(b, info + 12, 1);
    Put16(b, info + 14, static_cast<std::uint32_t>(s.bitCount));
    Put32(b, info + 20, static_cast<std::uint32_t>(s.rows.size()));
    Put32(b, info + 32, s.colorsUsed);
  }
  for (std::size_t i = 0; i < s.palette.size(); ++i) {
    const std::uint32_t c = s.palette[i];
    b[head + i * entry] = static_cast<std::uint8_t>(c);
    b[head + i * entry + 1] = static_cast<std::uint8_t>(c >> 8);
    b[head + i * entry + 2] = static_cast<std::uint8_t>(c >> 16);
  }
  b.insert(b.end(), s.rows.begin(), s.rows.end());
  return b;
}

// A plain 24-bit picture: `bgr` holds width x height triples, bottom row
// first, without padding; rows are padded as the file needs.
inline Bytes Bitmap24(int width, int height, const Bytes& bgr) {
  BitmapSpec s;
  s.width = width;
  s.height = height;
  const std::size_t row = static_cast<std::size_t>(width) * 3;
  const std::size_t stride = Stride(width, 24);
  for (int y = 0; y < height; ++y) {
    s.rows.insert(s.rows.end(), bgr.begin() + static_cast<std::ptrdiff_t>(y * row),
                  bgr.begin() + static_cast<std::ptrdiff_t>((y + 1) * row));
    s.rows.insert(s.rows.end(), stride - row, 0);
  }
  return BuildBitmap(s);
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace hz::testing
