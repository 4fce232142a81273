// Windows bitmaps (DIBs) as the renderer reads them: the header checks, the
// header the converter is handed, and the picture that comes out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A picture as red-green-blue triples, rows tightly packed, bottom row first.
// LoadDibImage allocates the record and its data separately; FreeDibImage
// releases both.
struct DibImage {
  std::int32_t width;
  std::int32_t height;
  std::uint8_t* data;
};

// Reads any bitmap file the platform can convert; on failure shows one of the
// messages below (captioned "Error") and returns null.
DibImage* LoadDibImage(const char* path);
void FreeDibImage(DibImage* image);

// Entries of the colour table that follows an information header of the
// 12-byte or 40-byte form. The caller has checked that the whole header is there.
std::uint16_t CountDibColors(const void* infoHeader);

namespace hz {

enum class DibError {
  kNone,
  kOpenFailed,       // the file cannot be opened, mapped or viewed (an empty file)
  kUnknownFormat,    // a header that is not there whole, or one we do not read
  kOutOfMemory,      // a picture too large to hold
  kConversionError,  // the pixel data is not all there, or cannot be converted
};

// The message LoadDibImage shows for an error.
std::string DibErrorText(DibError error, const char* path);

// Where LoadDibImage's messages go: the Windows program shows them in a
// message box captioned "Error"; without a handler they go to standard error.
using DibMessageHandler = void (*)(const char* text);
void SetDibMessageHandler(DibMessageHandler handler);

// Shows the message for an error through the handler.
void ReportDibError(DibError error, const char* path);

// Where the pieces of a bitmap file lie, after every field has been checked
// against the file's length.
struct DibLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;  // always positive: bottom-up rows only
  std::uint16_t bitCount = 0;
  std::uint16_t colors = 0;     // entries in the colour table
  std::size_t pixelOffset = 0;  // from the start of the file
  std::size_t stride = 0;       // bytes per row in the file, padded to 4
  // A 40-byte information header followed by `colors` four-byte entries (and
  // four spare bytes), as the converter takes it.
  std::vector<std::uint8_t> info;

  std::size_t PixelBytes() const { return stride * static_cast<std::size_t>(height); }
  std::size_t RgbBytes() const {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  }
};

// Checks a whole bitmap file (with or without its 14-byte "BM" file header)
// and builds its layout. Uncompressed bottom-up pictures of 1, 4, 8, 16, 24 or
// 32 bits with a 12-byte or 40-byte information header are accepted.
DibError ParseDib(const std::uint8_t* file, std::size_t length, DibLayout* layout);

// Our own converter, where GDI is missing: the layout's pixels (starting at
// `pixels`, PixelBytes() long) to tightly packed RGB rows, bottom row first.
// 16-bit pixels are 5-5-5; colour indices beyond the table are black.
DibError ConvertDibToRgb(const DibLayout& layout, const std::uint8_t* pixels, std::uint8_t* rgb);

// The whole reader on bytes already in memory: parse, convert, allocate the
// record. `error` tells why it returned null.
DibImage* DecodeDib(const std::uint8_t* file, std::size_t length, DibError* error);

}  // namespace hz
