// Bitmap files built byte by byte for the tests, in every layout the renderer's readers meet: with or without
// the "BM" file header, 12-byte or 40-byte information headers, colour tables, padded rows.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace hz::testing {

using Bytes = std::vector<std::uint8_t>;

// `b` with the little-endian field of `size` bytes at `at` set to `v`.
inline Bytes With(Bytes b, std::size_t at, std::uint32_t v, int size = 4) {
  for (int i = 0; i < size; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  return b;
}

struct BitmapLayout {
  int width = 1, height = 1, bitCount = 24;
  int headerSize = 40;     // 12 or 40
  bool fileHeader = true;  // the 14-byte "BM" header
  std::uint32_t colorsUsed = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, written in the header's entry size
  Bytes rows;                          // pixel data as stored, bottom row first, already padded
};

inline Bytes BuildBitmap(const BitmapLayout& s) {
  const bool old = s.headerSize == 12;  // which keeps sizes in 16 bits and colours in 3 bytes
  const std::size_t info = s.fileHeader ? 14 : 0, head = info + static_cast<std::size_t>(s.headerSize);
  const std::size_t entry = old ? 3 : 4, offset = head + s.palette.size() * entry;
  const int field = old ? 2 : 4;
  const auto u32 = [](auto v) { return static_cast<std::uint32_t>(v); };
  Bytes b(offset, 0);
  if (s.fileHeader) b = With(With(With(b, 0, 0x4D42, 2), 2, u32(offset + s.rows.size())), 10, u32(offset));
  b = With(With(b, info, u32(s.headerSize)), info + 4, u32(s.width), field);
  b = With(b, info + 4 + field, u32(s.height), field);
  b = With(With(b, info + 4 + 2 * field, 1, 2), info + 6 + 2 * field, u32(s.bitCount), 2);
  if (!old) b = With(With(b, info + 20, u32(s.rows.size())), info + 32, s.colorsUsed);
  for (std::size_t i = 0; i < s.palette.size(); ++i) b = With(b, head + i * entry, s.palette[i], 3);
  b.insert(b.end(), s.rows.begin(), s.rows.end());
  return b;
}

// A plain 24-bit picture from `bgr`, width x height triples, bottom row first, rows padded as the file needs.
inline Bytes Bitmap24(int width, int height, const Bytes& bgr) {
  BitmapLayout s;
  s.width = width;
  s.height = height;
  const auto row = static_cast<std::ptrdiff_t>(width) * 3;
  for (std::ptrdiff_t y = 0; y < height; ++y) {
    s.rows.insert(s.rows.end(), bgr.begin() + y * row, bgr.begin() + (y + 1) * row);
    s.rows.resize(s.rows.size() + static_cast<std::size_t>(-row & 3));
  }
  return BuildBitmap(s);
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline Bytes ReadBytes(const std::string& path) {
  const std::string text = ReadFile(path);
  return Bytes(text.begin(), text.end());
}

// A fresh folder under /tmp, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/hazumaki-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "/nonexistent";
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string Write(const std::string& name, const Bytes& bytes) const {
    return WriteText(name, std::string(bytes.begin(), bytes.end()));
  }
  std::string WriteText(const std::string& name, const std::string& text) const {
    const std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

 private:
  std::string path_;
};

}  // namespace hz::testing
