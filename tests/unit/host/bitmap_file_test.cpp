#include "bitmap_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "temp_dir.h"

namespace hz {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

Bitmap24 Picture(std::int32_t w, std::int32_t h) {
  Bitmap24 b;
  b.width = w;
  b.height = h;
  b.rows.resize(Bitmap24::Stride(w) * static_cast<std::size_t>(h));
  for (std::size_t i = 0; i < b.rows.size(); ++i) b.rows[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return b;
}

TEST(EncodeBitmapFile, OneBlackPixelIs58BytesWithOnePaddingByte) {
  Bitmap24 black;
  black.width = black.height = 1;
  black.rows = {0, 0, 0, 0};
  const std::vector<std::uint8_t> expected = {
      'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
      40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0,
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // resolutions and colour counts
      0, 0, 0, 0};                                     // the pixel and its padding
  EXPECT_EQ(EncodeBitmapFile(black), expected);
}

TEST(EncodeBitmapFile, A256By256PictureIs196662BytesLaidOutAsTheRendererReadsIt) {
  const Bitmap24 sky = Picture(256, 256);
  const std::vector<std::uint8_t> file = EncodeBitmapFile(sky);
  ASSERT_EQ(file.size(), 196662u);
  EXPECT_EQ(U16(file, 0), 0x4D42);
  EXPECT_EQ(U32(file, 2), 196662u);
  EXPECT_EQ(U32(file, 6), 0u);
  EXPECT_EQ(U32(file, 10), 54u);
  EXPECT_EQ(U32(file, 14), 40u);
  EXPECT_EQ(U32(file, 18), 256u);
  EXPECT_EQ(U32(file, 22), 256u);  // positive: bottom row first
  EXPECT_EQ(U16(file, 26), 1);
  EXPECT_EQ(U16(file, 28), 24);
  EXPECT_EQ(U32(file, 30), 0u);
  EXPECT_EQ(U32(file, 46), 0u);  // no colour table
  EXPECT_EQ(0, std::memcmp(file.data() + 54, sky.rows.data(), sky.rows.size()));
}

TEST(Bitmap24FromPackedDib, TakesOnlyComplete24BitBottomUpPictures) {
  const Bitmap24 sky = Picture(3, 2);  // 9 bytes a row, padded to 12
  std::vector<std::uint8_t> file = EncodeBitmapFile(sky);
  std::vector<std::uint8_t> dib(file.begin() + 14, file.end());

  const auto back = Bitmap24FromPackedDib(dib.data(), dib.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 3);
  EXPECT_EQ(back->height, 2);
  EXPECT_EQ(back->rows, sky.rows);

  EXPECT_FALSE(Bitmap24FromPackedDib(dib.data(), dib.size() - 1)) << "a pixel short";
  EXPECT_FALSE(Bitmap24FromPackedDib(dib.data(), 39)) << "header cut";
  EXPECT_FALSE(Bitmap24FromPackedDib(nullptr, 0));
  auto patched = [&](std::size_t at, std::uint32_t value) {
    std::vector<std::uint8_t> d = dib;
    std::memcpy(d.data() + at, &value, 4);
    return Bitmap24FromPackedDib(d.data(), d.size()).has_value();
  };
  EXPECT_FALSE(patched(8, static_cast<std::uint32_t>(-2))) << "top-down";
  EXPECT_FALSE(patched(4, 0)) << "no width";
  EXPECT_FALSE(patched(4, 0x7FFFFFFF)) << "huge width";
  EXPECT_FALSE(patched(14, 8)) << "8 bits per pixel";
  EXPECT_FALSE(patched(16, 1)) << "compressed";
  EXPECT_FALSE(patched(0, 0xFFFFFFF0)) << "header larger than the data";
}

TEST(WriteBitmapFile, ReplacesAStaleFileAndReportsAFolderThatIsMissing) {
  testing::TempDir dir;
  testing::TempDir::WriteFile("Tovira02.bmp", std::string(500000, 'x'));
  ASSERT_TRUE(WriteBitmapFile("Tovira02.bmp", Picture(256, 256)));
  EXPECT_EQ(testing::TempDir::ReadFile("Tovira02.bmp").size(), 196662u);
  EXPECT_FALSE(WriteBitmapFile("no-such-folder/Tovira01.bmp", Picture(1, 1)));
}

}  // namespace
}  // namespace hz
