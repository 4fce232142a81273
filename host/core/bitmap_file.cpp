#include "bitmap_file.h"

#include <cstdio>
#include <limits>

namespace hz {
namespace {

std::uint32_t Read32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}
std::uint16_t Read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
// Pictures larger than this are not ours; it also keeps every size below in 32 bits.
constexpr std::int32_t kMaxSide = 16384;

}  // namespace

std::optional<Bitmap24> Bitmap24FromPackedDib(const std::uint8_t* dib, std::size_t size) {
  if (!dib || size < kInfoHeader) return std::nullopt;
  const std::uint32_t headerSize = Read32(dib);
  const auto width = static_cast<std::int32_t>(Read32(dib + 4));
  const auto height = static_cast<std::int32_t>(Read32(dib + 8));
  const std::uint16_t bitCount = Read16(dib + 14);
  const std::uint32_t compression = Read32(dib + 16);
  const std::uint32_t colorsUsed = Read32(dib + 32);
  if (headerSize < kInfoHeader || headerSize > size || bitCount != 24 || compression != 0 || colorsUsed != 0)
    return std::nullopt;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;

  Bitmap24 bitmap;
  bitmap.width = width;
  bitmap.height = height;
  const std::size_t bytes = Bitmap24::Stride(width) * static_cast<std::size_t>(height);
  if (size - headerSize < bytes) return std::nullopt;
  bitmap.rows.assign(dib + headerSize, dib + headerSize + bytes);
  return bitmap;
}

std::vector<std::uint8_t> EncodeBitmapFile(const Bitmap24& b) {
  const std::size_t data = Bitmap24::Stride(b.width) * static_cast<std::size_t>(b.height);
  std::vector<std::uint8_t> out;
  out.reserve(kFileHeader + kInfoHeader + data);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<std::uint32_t>(kFileHeader + kInfoHeader + data));
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, kFileHeader + kInfoHeader);
  Put32(out, kInfoHeader);
  Put32(out, static_cast<std::uint32_t>(b.width));
  Put32(out, static_cast<std::uint32_t>(b.height));
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits per pixel
  Put32(out, 0);   // no compression
  Put32(out, static_cast<std::uint32_t>(data));
  Put32(out, 0);   // resolution
  Put32(out, 0);
  Put32(out, 0);   // colours used
  Put32(out, 0);   // colours important
  out.insert(out.end(), b.rows.begin(), b.rows.begin() + static_cast<std::ptrdiff_t>(std::min(data, b.rows.size())));
  out.resize(kFileHeader + kInfoHeader + data, 0);
  return out;
}

bool WriteBitmapFile(const std::string& path, const Bitmap24& bitmap) {
  const std::vector<std::uint8_t> bytes = EncodeBitmapFile(bitmap);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool whole = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && whole;
}

}  // namespace hz
