#include "dib.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../../common/bitmap_bytes.h"

namespace hz {
namespace {

using testing::BitmapSpec;
using testing::BuildBitmap;
using testing::Bytes;
using testing::Put16;
using testing::Put32;

struct Decoded {
  DibError error = DibError::kNone;
  int width = 0;
  int height = 0;
  Bytes rgb;
};

Decoded Decode(const Bytes& file) {
  Decoded out;
  DibImage* image = DecodeDib(file.data(), file.size(), &out.error);
  if (image) {
    out.width = image->width;
    out.height = image->height;
    out.rgb.assign(image->data, image->data + static_cast<std::size_t>(image->width) * image->height * 3);
    FreeDibImage(image);
  }
  return out;
}

// --- pictures that are read

TEST(DibReading, TwentyFourBitRowsLoseTheirPaddingAndBecomeRgb) {
  // 3 x 2: rows of 9 bytes padded to 12; bottom row first in file and result.
  const Bytes bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  const Decoded d = Decode(testing::Bitmap24(3, 2, bgr));
  ASSERT_EQ(d.error, DibError::kNone);
  EXPECT_EQ(d.width, 3);
  EXPECT_EQ(d.height, 2);
  EXPECT_EQ(d.rgb, (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 13, 12, 11, 16, 15, 14, 19, 18, 17}));
}

TEST(DibReading, CoreHeaderWithThreeByteColourEntries) {
  BitmapSpec s;
  s.headerSize = 12;
  s.bitCount = 4;
  s.width = 3;
  s.height = 1;
  s.palette.assign(16, 0);
  s.palette[1] = 0x102030;
  s.palette[15] = 0xA0B0C0;
  s.rows = {0x1F, 0x10, 0, 0};  // pixels 1, 15, 1
  const Decoded d = Decode(BuildBitmap(s));
  ASSERT_EQ(d.error, DibError::kNone);
  EXPECT_EQ(d.rgb, (Bytes{0x10, 0x20, 0x30, 0xA0, 0xB0, 0xC0, 0x10, 0x20, 0x30}));
}

TEST(DibReading, OneBitPicturesUseTheirTwoColoursMostSignificantBitFirst) {
  BitmapSpec s;
  s.bitCount = 1;
  s.width = 10;
  s.height = 2;
  s.palette = {0x000000, 0xFFFFFF};
  s.rows = {0xA0, 0x40, 0, 0,   // bottom: 1010 0000 01..
            0x00, 0xC0, 0, 0};  // top:    0000 0000 11
  const Decoded d = Decode(BuildBitmap(s));
  ASSERT_EQ(d.error, DibError::kNone);
  auto white = [&](int x, int y) { return d.rgb[static_cast<std::size_t>(y * 10 + x) * 3] == 0xFF; };
  const std::vector<int> bottom = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
  const std::vector<int> top = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(white(x, 0), bottom[x] == 1) << "bottom row, x " << x;
    EXPECT_EQ(white(x, 1), top[x] == 1) << "top row, x " << x;
  }
}

TEST(DibReading, WithoutFileHeaderThePixelsFollowTheShortenedColourTable) {
  BitmapSpec s;
  s.fileHeader = false;
  s.bitCount = 8;
  s.width = 4;
  s.height = 1;
  s.colorsUsed = 3;
  s.palette = {0x0000FF, 0x00FF00, 0xFF0000};
  s.rows = {2, 1, 0, 200};  // 200 lies beyond the table
  const Bytes file = BuildBitmap(s);
  ASSERT_NE(file[0], 'B');
  const Decoded d = Decode(file);
  ASSERT_EQ(d.error, DibError::kNone);
  EXPECT_EQ(d.rgb, (Bytes{0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0}));
}

TEST(DibReading, SixteenAndThirtyTwoBitPictures) {
  BitmapSpec s;
  s.bitCount = 16;
  s.width = 2;
  s.height = 1;
  s.rows = {0x00, 0x7C, 0x1F, 0x00};  // pure red, pure blue in 5-5-5
  Decoded d = Decode(BuildBitmap(s));
  ASSERT_EQ(d.error, DibError::kNone);
  EXPECT_EQ(d.rgb, (Bytes{0xFF, 0, 0, 0, 0, 0xFF}));

  s.bitCount = 32;
  s.rows = {1, 2, 3, 99, 4, 5, 6, 99};
  d = Decode(BuildBitmap(s));
  ASSERT_EQ(d.error, DibError::kNone);
  EXPECT_EQ(d.rgb, (Bytes{3, 2, 1, 6, 5, 4}));
}

TEST(DibReading, TheHostsOnePixelPictureIsBlack) {
  const Decoded d = Decode(testing::Bitmap24(1, 1, {0, 0, 0}));
  ASSERT_EQ(d.error, DibError::kNone);
  EXPECT_EQ(d.rgb, (Bytes{0, 0, 0}));
}

// --- damaged and unsupported files: refused before anything is read out of bounds

Bytes Valid24() { return testing::Bitmap24(4, 4, Bytes(48, 7)); }

Bytes With32(Bytes b, std::size_t at, std::uint32_t v) {
  Put32(b, at, v);
  return b;
}

Bytes With16(Bytes b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v);
  return b;
}

Bytes Truncated(Bytes b, std::size_t length) {
  b.resize(length);
  return b;
}

TEST(DibChecks, DamagedFilesAreRefusedWithTheirMessage) {
  BitmapSpec paletted;
  paletted.bitCount = 8;
  paletted.width = 4;
  paletted.palette.assign(256, 0x112233);
  paletted.rows.assign(4, 1);
  const Bytes eightBit = BuildBitmap(paletted);

  struct Case {
    const char* name;
    Bytes file;
    DibError expected;
  };
  const Case cases[] = {
      {"zero length", {}, DibError::kOpenFailed},
      {"only the signature", {'B', 'M'}, DibError::kUnknownFormat},
      {"file header without information header", Truncated(Valid24(), 14), DibError::kUnknownFormat},
      {"information header cut short", Truncated(Valid24(), 14 + 30), DibError::kUnknownFormat},
      {"three bytes without signature", {1, 2, 3}, DibError::kUnknownFormat},
      {"header size 108", With32(Valid24(), 14, 108), DibError::kUnknownFormat},
      {"header size 0xFFFFFFFF", With32(Valid24(), 14, 0xFFFFFFFF), DibError::kUnknownFormat},
      {"width 0", With32(Valid24(), 18, 0), DibError::kUnknownFormat},
      {"height 0", With32(Valid24(), 22, 0), DibError::kUnknownFormat},
      {"negative width", With32(Valid24(), 18, 0xFFFFFFFC), DibError::kUnknownFormat},
      {"top-down rows", With32(Valid24(), 22, 0xFFFFFFFC), DibError::kUnknownFormat},
      {"bit count 0", With16(Valid24(), 28, 0), DibError::kUnknownFormat},
      {"bit count 2", With16(Valid24(), 28, 2), DibError::kUnknownFormat},
      {"bit count 64", With16(Valid24(), 28, 64), DibError::kUnknownFormat},
      {"run-length compressed", With32(eightBit, 30, 1), DibError::kUnknownFormat},
      {"bit fields", With32(Valid24(), 30, 3), DibError::kUnknownFormat},
      {"colour count beyond 16 bits", With32(eightBit, 46, 0x10001), DibError::kUnknownFormat},
      {"colour table cut short", Truncated(eightBit, 54 + 100), DibError::kUnknownFormat},
      {"colour count larger than the file", With32(eightBit, 46, 0xFFFF), DibError::kUnknownFormat},
      {"pixel data one byte short", Truncated(Valid24(), 54 + 47), DibError::kConversionError},
      {"no pixel data at all", Truncated(Valid24(), 54), DibError::kConversionError},
      {"data offset beyond the file", With32(Valid24(), 10, 1u << 30), DibError::kConversionError},
      {"huge width and height", With32(With32(Valid24(), 18, 0x7FFFFFFF), 22, 0x7FFFFFFF),
       DibError::kConversionError},
      {"huge height", With32(Valid24(), 22, 0x7FFFFFFF), DibError::kConversionError},
      {"row longer than the file", With32(Valid24(), 18, 0x40000000), DibError::kConversionError},
  };
  for (const Case& c : cases) {
    DibLayout layout;
    EXPECT_EQ(ParseDib(c.file.data(), c.file.size(), &layout), c.expected) << c.name;
    const Decoded d = Decode(c.file);
    EXPECT_EQ(d.error, c.expected) << c.name;
    EXPECT_TRUE(d.rgb.empty()) << c.name;
  }
}

TEST(DibChecks, CoreHeaderRefusesDepthsItCannotCarry) {
  for (int bits : {16, 32}) {
    BitmapSpec s;
    s.headerSize = 12;
    s.bitCount = bits;
    s.rows.assign(4, 0);
    DibLayout layout;
    const Bytes file = BuildBitmap(s);
    EXPECT_EQ(ParseDib(file.data(), file.size(), &layout), DibError::kUnknownFormat) << bits;
  }
}

TEST(DibChecks, MessagesReadAsTheUserSeesThem) {
  EXPECT_EQ(DibErrorText(DibError::kOpenFailed, "C:\\k_arden\\Tovira01.bmp"),
            "Failed to open DIB file C:\\k_arden\\Tovira01.bmp.\n");
  EXPECT_EQ(DibErrorText(DibError::kUnknownFormat, "x"), "Unknown DIB file format.");
  EXPECT_EQ(DibErrorText(DibError::kOutOfMemory, "x"), "Out of memory.");
  EXPECT_EQ(DibErrorText(DibError::kConversionError, "x"), "Image file conversion error.");
}

// --- colour counts

TEST(CountDibColors, FromTheBitCountOrTheColoursUsed) {
  struct Case {
    std::uint32_t headerSize;
    int bitCount;
    std::uint32_t used;
    std::uint16_t expected;
  };
  const Case cases[] = {
      {12, 1, 0, 2},  {12, 4, 0, 16},  {12, 8, 0, 256},   {12, 24, 0, 0},      {40, 1, 0, 2},
      {40, 4, 0, 16}, {40, 8, 0, 256}, {40, 16, 0, 0},    {40, 24, 0, 0},      {40, 32, 0, 0},
      {40, 8, 5, 5},  {40, 24, 7, 7},  {40, 1, 300, 300}, {40, 8, 0x10005, 5},  // the count is a 16-bit value
  };
  for (const Case& c : cases) {
    Bytes header(40, 0);
    Put32(header, 0, c.headerSize);
    if (c.headerSize == 12) {
      Put16(header, 10, static_cast<std::uint32_t>(c.bitCount));
    } else {
      Put16(header, 14, static_cast<std::uint32_t>(c.bitCount));
      Put32(header, 32, c.used);
    }
    EXPECT_EQ(CountDibColors(header.data()), c.expected)
        << "header " << c.headerSize << ", " << c.bitCount << " bits, " << c.used << " used";
  }
}

// --- LoadDibImage on files, and its messages

std::vector<std::string> g_messages;
void Collect(const char* text) { g_messages.emplace_back(text); }

class LoadDibImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/hazumaki-dib-XXXXXX";
    dir_ = mkdtemp(pattern);
    g_messages.clear();
    SetDibMessageHandler(&Collect);
  }
  void TearDown() override {
    SetDibMessageHandler(nullptr);
    for (const std::string& f : files_) std::remove(f.c_str());
    rmdir(dir_.c_str());
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    std::string path = dir_ + "/" + name;
    testing::WriteBytes(path, bytes);
    files_.push_back(path);
    return path;
  }
  std::string dir_;
  std::vector<std::string> files_;
};

TEST_F(LoadDibImageTest, AGoodFileLoadsWithoutAMessage) {
  DibImage* image = LoadDibImage(Write("good.bmp", testing::Bitmap24(2, 2, Bytes(12, 9))).c_str());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->height, 2);
  FreeDibImage(image);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(LoadDibImageTest, EachFailureShowsItsOneMessage) {
  const std::string missing = dir_ + "/missing.bmp";
  const std::string empty = Write("empty.bmp", {});
  const std::string damaged = Write("damaged.bmp", With32(Valid24(), 14, 64));
  const std::string truncated = Write("truncated.bmp", Truncated(Valid24(), 60));
  for (const std::string& path : {missing, empty, damaged, truncated})
    EXPECT_EQ(LoadDibImage(path.c_str()), nullptr);
  EXPECT_EQ(g_messages,
            (std::vector<std::string>{"Failed to open DIB file " + missing + ".\n",
                                      "Failed to open DIB file " + empty + ".\n", "Unknown DIB file format.",
                                      "Image file conversion error."}));
}

}  // namespace
}  // namespace hz
