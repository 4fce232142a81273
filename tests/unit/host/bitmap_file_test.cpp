#include "bitmap_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support.h"

namespace hz {
namespace {

using testing::Bytes;

Bitmap24 Picture(std::int32_t w, std::int32_t h) {
  Bitmap24 b{w, h, Bytes(Bitmap24::Stride(w) * static_cast<std::size_t>(h))};
  for (std::size_t i = 0; i < b.rows.size(); ++i) b.rows[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return b;
}

// The file the renderer reads: "BM" header, 40-byte bottom-up 24-bit header, no colour table, padded rows.
TEST(EncodeBitmapFile, WritesTheLayoutTheRendererReads) {
  for (const auto& [w, h] : {std::pair{1, 1}, {3, 2}, {256, 256}}) {
    const Bitmap24 picture = Picture(w, h);
    EXPECT_EQ(EncodeBitmapFile(picture), testing::BuildBitmap({w, h, 24, 40, true, 0, {}, picture.rows}))
        << w;
  }
  EXPECT_EQ(Bitmap24::Stride(3), 12u);
}

TEST(Bitmap24FromPackedDib, TakesOnlyComplete24BitBottomUpPictures) {
  const Bitmap24 sky = Picture(3, 2);
  const Bytes file = EncodeBitmapFile(sky);
  const Bytes dib(file.begin() + 14, file.end());
  const auto back = Bitmap24FromPackedDib(dib.data(), dib.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(std::make_pair(back->width, back->height), std::make_pair(3, 2));
  EXPECT_EQ(back->rows, sky.rows);

  EXPECT_FALSE(Bitmap24FromPackedDib(dib.data(), dib.size() - 1)) << "a pixel short";
  EXPECT_FALSE(Bitmap24FromPackedDib(dib.data(), 39)) << "header cut";
  EXPECT_FALSE(Bitmap24FromPackedDib(nullptr, 0));
  // Top-down, no width, huge width, 8 and 32 bits per pixel, compressed, header larger than the data.
  const std::pair<std::size_t, std::uint32_t> patches[] = {
      {8, 0xFFFFFFFEu}, {4, 0}, {4, 0x7FFFFFFF}, {14, 8}, {14, 32}, {16, 1}, {0, 0xFFFFFFF0u}};
  for (const auto& [at, value] : patches)
    EXPECT_FALSE(Bitmap24FromPackedDib(testing::With(dib, at, value).data(), dib.size())) << "offset " << at;
}

TEST(WriteBitmapFile, ReportsAFolderThatIsMissing) {
  testing::TempDir dir;
  EXPECT_TRUE(WriteBitmapFile("Tovira01.bmp", Picture(1, 1)));
  EXPECT_FALSE(WriteBitmapFile("no-such-folder/Tovira01.bmp", Picture(1, 1)));
}

}  // namespace
}  // namespace hz
