#include "dib.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace hz {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t I32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

std::uint16_t ColorsForBitCount(std::uint16_t bitCount) {
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

bool IsSupportedBitCount(std::uint32_t headerSize, std::uint16_t bitCount) {
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      return true;
    case 16:
    case 32:
      return headerSize == kInfoHeaderSize;  // the 12-byte form has no such depths
    default:
      return false;
  }
}

std::uint8_t Expand5(std::uint32_t v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }

}  // namespace

namespace {
DibMessageHandler g_handler = nullptr;
}  // namespace

void SetDibMessageHandler(DibMessageHandler handler) { g_handler = handler; }

void ReportDibError(DibError error, const char* path) {
  const std::string text = DibErrorText(error, path);
  if (g_handler) {
    g_handler(text.c_str());
  } else {
    std::fprintf(stderr, "Error: %s\n", text.c_str());
  }
}

std::string DibErrorText(DibError error, const char* path) {
  switch (error) {
    case DibError::kOpenFailed:
      return std::string("Failed to open DIB file ") + (path ? path : "") + ".\n";
    case DibError::kUnknownFormat:
      return "Unknown DIB file format.";
    case DibError::kOutOfMemory:
      return "Out of memory.";
    case DibError::kConversionError:
      return "Image file conversion error.";
    case DibError::kNone:
      break;
  }
  return {};
}

DibError ParseDib(const std::uint8_t* file, std::size_t length, DibLayout* layout) {
  // An empty file cannot be mapped, so it fails the way an unreadable one does.
  if (!file || length == 0) return DibError::kOpenFailed;

  const bool hasFileHeader = length >= 2 && file[0] == 'B' && file[1] == 'M';
  const std::size_t infoOffset = hasFileHeader ? kFileHeaderSize : 0;
  if (length < infoOffset + 4) return DibError::kUnknownFormat;
  const std::uint8_t* info = file + infoOffset;
  const std::uint32_t headerSize = U32(info);
  if (headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize) return DibError::kUnknownFormat;
  if (length - infoOffset < headerSize) return DibError::kUnknownFormat;

  DibLayout out;
  std::size_t entrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    out.width = U16(info + 4);
    out.height = U16(info + 6);
    out.bitCount = U16(info + 10);
    entrySize = 3;
  } else {
    out.width = I32(info + 4);
    out.height = I32(info + 8);
    out.bitCount = U16(info + 14);
    // Compressed and bit-field pictures are not ours to read; a colour count
    // beyond 16 bits would disagree with the table we build.
    if (U32(info + 16) != 0) return DibError::kUnknownFormat;
    if (U32(info + 32) > 0xFFFF) return DibError::kUnknownFormat;
  }
  // Top-down pictures (negative height) and empty ones are refused.
  if (out.width <= 0 || out.height <= 0) return DibError::kUnknownFormat;
  if (!IsSupportedBitCount(headerSize, out.bitCount)) return DibError::kUnknownFormat;

  out.colors = CountDibColors(info);
  const std::size_t tableOffset = infoOffset + headerSize;
  const std::size_t tableEnd = tableOffset + out.colors * entrySize;
  if (tableEnd > length) return DibError::kUnknownFormat;

  out.pixelOffset = hasFileHeader ? U32(file + 10) : tableEnd;
  if (out.pixelOffset > length) return DibError::kConversionError;
  const std::uint64_t bitsPerRow = static_cast<std::uint64_t>(out.width) * out.bitCount;
  const std::uint64_t stride = (bitsPerRow + 31) / 32 * 4;
  const std::uint64_t available = length - out.pixelOffset;
  if (stride > available || static_cast<std::uint64_t>(out.height) > available / stride) {
    return DibError::kConversionError;
  }
  out.stride = static_cast<std::size_t>(stride);
  const std::uint64_t rgbBytes =
      static_cast<std::uint64_t>(out.width) * static_cast<std::uint64_t>(out.height) * 3;
  if (rgbBytes > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
    return DibError::kOutOfMemory;

  out.info.assign(44 + 4 * static_cast<std::size_t>(out.colors), 0);
  std::uint8_t* built = out.info.data();
  if (headerSize == kCoreHeaderSize) {
    Put32(built, kInfoHeaderSize);
    Put32(built + 4, static_cast<std::uint32_t>(out.width));
    Put32(built + 8, static_cast<std::uint32_t>(out.height));
    Put16(built + 12, U16(info + 8));
    Put16(built + 14, out.bitCount);
    Put32(built + 36, out.colors);
    for (std::size_t i = 0; i < out.colors; ++i)
      std::memcpy(built + 40 + 4 * i, file + tableOffset + 3 * i, 3);
  } else {
    std::memcpy(built, info, kInfoHeaderSize);
    std::memcpy(built + 40, file + tableOffset, 4 * static_cast<std::size_t>(out.colors));
  }
  // The converter gets the real size of the pixel data, whatever the file claimed.
  Put32(built + 20, static_cast<std::uint32_t>(out.PixelBytes()));
  if (U32(built + 32) == 0) Put32(built + 32, out.colors);

  *layout = std::move(out);
  return DibError::kNone;
}

DibError ConvertDibToRgb(const DibLayout& layout, const std::uint8_t* pixels, std::uint8_t* rgb) {
  const std::size_t width = static_cast<std::size_t>(layout.width);
  const std::uint8_t* table = layout.info.data() + 40;
  for (std::int32_t y = 0; y < layout.height; ++y) {
    const std::uint8_t* src = pixels + static_cast<std::size_t>(y) * layout.stride;
    std::uint8_t* dst = rgb + static_cast<std::size_t>(y) * width * 3;
    for (std::size_t x = 0; x < width; ++x, dst += 3) {
      switch (layout.bitCount) {
        case 1:
        case 4:
        case 8: {
          const unsigned bits = layout.bitCount;
          const std::size_t bitPos = x * bits;
          const unsigned shift = 8 - bits - static_cast<unsigned>(bitPos % 8);
          const unsigned index = (src[bitPos / 8] >> shift) & ((1u << bits) - 1);
          if (index < layout.colors) {
            const std::uint8_t* entry = table + std::size_t{4} * index;
            dst[0] = entry[2];
            dst[1] = entry[1];
            dst[2] = entry[0];
          } else {
            dst[0] = dst[1] = dst[2] = 0;
          }
          break;
        }
        case 16: {
          const std::uint32_t v = U16(src + 2 * x);
          dst[0] = Expand5((v >> 10) & 31);
          dst[1] = Expand5((v >> 5) & 31);
          dst[2] = Expand5(v & 31);
          break;
        }
        case 24:
        case 32: {
          const std::uint8_t* p = src + x * (layout.bitCount / 8);
          dst[0] = p[2];
          dst[1] = p[1];
          dst[2] = p[0];
          break;
        }
        default:
          return DibError::kConversionError;
      }
    }
  }
  return DibError::kNone;
}

DibImage* DecodeDib(const std::uint8_t* file, std::size_t length, DibError* error) {
  DibLayout layout;
  *error = ParseDib(file, length, &layout);
  if (*error != DibError::kNone) return nullptr;
  auto* data = static_cast<std::uint8_t*>(std::malloc(layout.RgbBytes()));
  auto* image = static_cast<DibImage*>(std::malloc(sizeof(DibImage)));
  if (!data || !image) {
    std::free(data);
    std::free(image);
    *error = DibError::kOutOfMemory;
    return nullptr;
  }
  *error = ConvertDibToRgb(layout, file + layout.pixelOffset, data);
  if (*error != DibError::kNone) {
    std::free(data);
    std::free(image);
    return nullptr;
  }
  image->width = layout.width;
  image->height = layout.height;
  image->data = data;
  return image;
}

}  // namespace hz

std::uint16_t CountDibColors(const void* infoHeader) {
  const auto* info = static_cast<const std::uint8_t*>(infoHeader);
  std::uint16_t bitCount = 0;
  if (hz::U32(info) == hz::kCoreHeaderSize) {
    bitCount = hz::U16(info + 10);
  } else {
    const std::uint32_t used = hz::U32(info + 32);
    if (used != 0) return static_cast<std::uint16_t>(used);
    bitCount = hz::U16(info + 14);
  }
  return hz::ColorsForBitCount(bitCount);
}

void FreeDibImage(DibImage* image) {
  if (!image) return;
  std::free(image->data);
  std::free(image);
}
