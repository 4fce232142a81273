#include "bitmap_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support.h"

namespace hz {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bitmap24 Picture(std::int32_t w, std::int32_t h) {
  Bitmap24 b;
  b.width = w;
  b.height = h;
  b.rows.resize(Bitmap24::Stride(w) * static_cast<std::size_t>(h));
  for (std::size_t i = 0; i < b.rows.size(); ++i) b.rows[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return b;
}

TEST(EncodeBitmapFile, WritesTheLayoutTheRendererReads) {
  Bitmap24 black;
  black.width = black.height = 1;
  black.rows = {0, 0, 0, 0};
  // clang-format off
  const Bytes expected = {
      'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                            // file header
      40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0,  // bottom-up, 24 bits
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                            // no colour table
      0, 0, 0, 0};                                                               // the pixel and its padding
  // clang-format on
  EXPECT_EQ(EncodeBitmapFile(black), expected);

  // A sky differs only in its sizes (file, width, height, pixel data) and pixels.
  const Bitmap24 sky = Picture(256, 256);
  const Bytes file = EncodeBitmapFile(sky);
  ASSERT_EQ(file.size(), 196662u);
  Bytes header(expected.begin(), expected.begin() + 54);
  for (const auto& [at, value] :
       {std::pair<std::size_t, std::uint32_t>{2, 196662}, {18, 256}, {22, 256}, {34, 196608}})
    std::memcpy(header.data() + at, &value, 4);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 54), header);
  EXPECT_EQ(0, std::memcmp(file.data() + 54, sky.rows.data(), sky.rows.size()));
}

TEST(Bitmap24FromPackedDib, TakesOnlyComplete24BitBottomUpPictures) {
  const Bitmap24 sky = Picture(3, 2);  // 9 bytes a row, padded to 12
  const Bytes file = EncodeBitmapFile(sky);
  ASSERT_EQ(file.size(), 54u + 2 * 12);
  const Bytes dib(file.begin() + 14, file.end());
  const auto back = Bitmap24FromPackedDib(dib.data(), dib.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(std::make_pair(back->width, back->height), std::make_pair(3, 2));
  EXPECT_EQ(back->rows, sky.rows);

  EXPECT_FALSE(Bitmap24FromPackedDib(dib.data(), dib.size() - 1)) << "a pixel short";
  EXPECT_FALSE(Bitmap24FromPackedDib(dib.data(), 39)) << "header cut";
  EXPECT_FALSE(Bitmap24FromPackedDib(nullptr, 0));
  const std::pair<std::size_t, std::uint32_t> patches[] = {
      {8, 0xFFFFFFFEu},  // top-down
      {4, 0},            // no width
      {4, 0x7FFFFFFF},   // huge width
      {14, 8},           // 8 bits per pixel
      {16, 1},           // compressed
      {0, 0xFFFFFFF0u},  // header larger than the data
  };
  for (const auto& [at, value] : patches) {
    Bytes d = dib;
    std::memcpy(d.data() + at, &value, 4);
    EXPECT_FALSE(Bitmap24FromPackedDib(d.data(), d.size())) << "offset " << at;
  }
}

TEST(WriteBitmapFile, ReportsAFolderThatIsMissing) {
  testing::TempDir dir;
  EXPECT_TRUE(WriteBitmapFile("Tovira01.bmp", Picture(1, 1)));
  EXPECT_FALSE(WriteBitmapFile("no-such-folder/Tovira01.bmp", Picture(1, 1)));
}

}  // namespace
}  // namespace hz
