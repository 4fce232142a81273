#include "dib.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../common/bitmap_bytes.h"

namespace hz {
namespace {

using testing::BuildBitmap;
using testing::Bytes;
using testing::With;

struct Decoded {
  DibError error = DibError::kNone;
  Bytes rgb;
};

Decoded Decode(const Bytes& file) {
  Decoded out;
  if (DibImage* image = DecodeDib(file.data(), file.size(), &out.error)) {
    out.rgb.assign(image->data, image->data + std::size_t{3} * image->width * image->height);
    FreeDibImage(image);
  }
  return out;
}

// Pixels as 0xRRGGBB, bottom row first, as red-green-blue bytes.
Bytes Rgb(const std::vector<std::uint32_t>& pixels) {
  Bytes out;
  for (std::uint32_t p : pixels)
    for (int shift : {16, 8, 0}) out.push_back(static_cast<std::uint8_t>(p >> shift));
  return out;
}

TEST(DibReading, EveryDepthAndHeaderFormBecomesRgbRows) {
  std::vector<std::uint32_t> sixteen(16, 0);
  sixteen[1] = 0x102030;
  sixteen[15] = 0xA0B0C0;
  const struct {
    const char* name;
    Bytes file;
    std::vector<std::uint32_t> expected;
  } cases[] = {
      {"24 bits, rows padded from 9 to 12 bytes",
       testing::Bitmap24(3, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19}),
       {0x030201, 0x060504, 0x090807, 0x0D0C0B, 0x100F0E, 0x131211}},
      {"4 bits, 12-byte header, three-byte colour entries",
       BuildBitmap({3, 2, 4, 12, true, 0, sixteen, {0x1F, 0x10, 0, 0, 0xF1, 0xF0, 0, 0}}),
       {0x102030, 0xA0B0C0, 0x102030, 0xA0B0C0, 0x102030, 0xA0B0C0}},
      {"1 bit, most significant bit first",
       BuildBitmap({10, 1, 1, 40, true, 0, {0, 0xFFFFFF}, {0xA0, 0x40, 0, 0}}),
       {0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 0xFFFFFF}},
      {"8 bits without file header, shortened table, an index beyond it",
       BuildBitmap({4, 1, 8, 40, false, 3, {0x0000FF, 0x00FF00, 0xFF0000}, {2, 1, 0, 200}}),
       {0xFF0000, 0x00FF00, 0x0000FF, 0}},
      {"16 bits, 5-5-5",
       BuildBitmap({2, 1, 16, 40, true, 0, {}, {0x00, 0x7C, 0x1F, 0x00}}),
       {0xFF0000, 0x0000FF}},
      {"32 bits", BuildBitmap({2, 1, 32, 40, true, 0, {}, {1, 2, 3, 99, 4, 5, 6, 99}}), {0x030201, 0x060504}},
  };
  for (const auto& c : cases) {
    const Decoded d = Decode(c.file);
    EXPECT_EQ(std::make_pair(d.error, d.rgb), std::make_pair(DibError::kNone, Rgb(c.expected))) << c.name;
  }
}

// Damaged and unsupported files are refused before anything is read out of bounds.
TEST(DibChecks, DamagedFilesAreRefusedWithTheirMessage) {
  const Bytes valid = testing::Bitmap24(4, 4, Bytes(48, 7));
  const Bytes eightBit =
      BuildBitmap({4, 1, 8, 40, true, 0, std::vector<std::uint32_t>(256, 0x112233), {1, 1, 1, 1}});
  auto cut = [](const Bytes& b, std::size_t length) { return Bytes(b.begin(), b.begin() + length); };
  const struct {
    const char* name;
    Bytes file;
    DibError expected;
  } cases[] = {
      {"only the signature", {'B', 'M'}, DibError::kUnknownFormat},
      {"information header cut short", cut(valid, 14 + 30), DibError::kUnknownFormat},
      {"width 0", With(valid, 18, 0), DibError::kUnknownFormat},
      {"negative width", With(valid, 18, 0xFFFFFFFC), DibError::kUnknownFormat},
      {"top-down rows", With(valid, 22, 0xFFFFFFFC), DibError::kUnknownFormat},
      {"bit count 2", With(valid, 28, 2, 2), DibError::kUnknownFormat},
      {"16 bits in a 12-byte header", BuildBitmap({1, 1, 16, 12, true, 0, {}, {0, 0, 0, 0}}),
       DibError::kUnknownFormat},
      {"run-length compressed", With(eightBit, 30, 1), DibError::kUnknownFormat},
      {"bit fields", With(valid, 30, 3), DibError::kUnknownFormat},
      {"colour count beyond 16 bits", With(eightBit, 46, 0x10001), DibError::kUnknownFormat},
      {"colour table cut short", cut(eightBit, 54 + 100), DibError::kUnknownFormat},
      {"colour count larger than the file", With(eightBit, 46, 0xFFFF), DibError::kUnknownFormat},
      {"no pixel data", cut(valid, 54), DibError::kConversionError},
      {"pixel data one byte short", cut(valid, 54 + 47), DibError::kConversionError},
      {"data offset beyond the file", With(valid, 10, 1u << 30), DibError::kConversionError},
      {"huge width and height", With(With(valid, 18, 0x7FFFFFFF), 22, 0x7FFFFFFF),
       DibError::kConversionError},
      {"row longer than the file", With(valid, 18, 0x40000000), DibError::kConversionError},
  };
  for (const auto& c : cases) {
    const Decoded d = Decode(c.file);
    EXPECT_EQ(std::make_pair(d.error, d.rgb), std::make_pair(c.expected, Bytes{})) << c.name;
  }
}

std::vector<std::string> g_messages;

TEST(LoadDibImage, EachFailureShowsItsOneMessage) {
  const testing::TempFolder folder;
  const Bytes valid = testing::Bitmap24(4, 4, Bytes(48, 7));
  const std::string missing = folder.path() + "/missing.bmp", empty = folder.Write("empty.bmp", {});
  g_messages.clear();
  SetDibMessageHandler([](const char* text) { g_messages.emplace_back(text); });
  for (const std::string& path : {missing, empty, folder.Write("damaged.bmp", With(valid, 14, 64)),
                                  folder.Write("truncated.bmp", Bytes(valid.begin(), valid.begin() + 60))})
    EXPECT_EQ(LoadDibImage(path.c_str()), nullptr);
  SetDibMessageHandler(nullptr);
  EXPECT_EQ(g_messages,
            (std::vector<std::string>{"Failed to open DIB file " + missing + ".\n",
                                      "Failed to open DIB file " + empty + ".\n", "Unknown DIB file format.",
                                      "Image file conversion error."}));
}

}  // namespace
}  // namespace hz
