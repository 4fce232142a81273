#include "textures.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "../../common/bitmap_bytes.h"

namespace hz {
namespace {

using testing::Bytes;
using testing::With;

Bytes RandomPicture(int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(static_cast<std::size_t>(width) * height * 3);
  for (auto& v : b) v = static_cast<std::uint8_t>(rng());
  return b;
}

// Texel by texel: (x, y) shows the picture's ((x - dx) mod w, (y - dy) mod h).
Bytes Rotated(const Bytes& picture, int w, int h, long long dx, long long dy) {
  auto wrap = [](long long v, int size) { return static_cast<std::size_t>((v % size + size) % size); };
  Bytes out(picture.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (std::size_t c = 0; c < 3; ++c)
        out[(static_cast<std::size_t>(y) * w + x) * 3 + c] =
            picture[(wrap(y - dy, h) * w + wrap(x - dx, w)) * 3 + c];
  return out;
}

TEST(TextureShifts, RowCopiesMatchTheTexelByTexelRotation) {
  const struct {
    int w, h, count, dx, dy;
  } cases[] = {
      {256, 256, 256, 1, 2}, {256, 256, 256, -1, -1}, {4, 8, 20, 3, -5}, {16, 2, 20, -7, 3}, {1, 1, 3, 1, 2}};
  for (const auto& c : cases) {
    const Bytes picture = RandomPicture(c.w, c.h, static_cast<unsigned>(c.w * 31 + c.h));
    Bytes shifted(picture.size());
    for (long long s = 1; s <= c.count; ++s) {
      ShiftPicture(picture.data(), c.w, c.h, s * c.dx, s * c.dy, shifted.data());
      ASSERT_EQ(shifted, Rotated(picture, c.w, c.h, s * c.dx, s * c.dy))
          << c.w << "x" << c.h << " shift (" << c.dx << ", " << c.dy << "), texture " << s - 1;
    }
  }
}

// The scrolling layout's header.
Bytes Header(int w, int h) { return With(With(testing::Bitmap24(1, 1, {0, 0, 0}), 18, w), 22, h); }
std::uint64_t Full(std::uint64_t w, std::uint64_t h) { return 54 + 3 * w * h; }

TEST(ScrollingHeader, OnlyThePlainLayoutPasses) {
  const struct {
    const char* name;
    Bytes header;
    std::uint64_t length;
    bool accepted;
  } cases[] = {
      {"256 x 256", Header(256, 256), Full(256, 256), true},
      {"trailing bytes after the pixels", Header(256, 256), Full(256, 256) + 100, true},
      {"1 x 1, a single row", Header(1, 1), Full(1, 1), true},
      {"1024 x 1024", Header(1024, 1024), Full(1024, 1024), true},
      {"1 x 2: padded rows", Header(1, 2), Full(1, 2), false},
      {"12 x 4: not a power of two", Header(12, 4), Full(12, 4), false},
      {"2048 x 4: too wide", Header(2048, 4), Full(2048, 4), false},
      {"huge width", Header(0x40000000, 4), UINT64_MAX, false},
      {"width 0", Header(0, 4), Full(4, 4), false},
      {"top-down", Header(4, -4), Full(4, 4), false},
      {"no signature", With(Header(4, 4), 0, 0x4141, 2), Full(4, 4), false},
      {"colour table before the pixels", With(Header(4, 4), 10, 58), Full(4, 4) + 4, false},
      {"12-byte information header", With(Header(4, 4), 14, 12), Full(4, 4), false},
      {"32 bits", With(Header(4, 4), 28, 32, 2), Full(4, 4), false},
      {"compressed", With(Header(4, 4), 30, 1), Full(4, 4), false},
      {"pixel data one byte short", Header(256, 256), Full(256, 256) - 1, false},
      {"shorter than the header", Header(4, 4), 53, false},
  };
  for (const auto& c : cases) {
    int w = -1, h = -1;
    EXPECT_EQ(CheckScrollingHeader(c.header.data(), c.length, &w, &h), c.accepted) << c.name;
    EXPECT_TRUE(c.accepted || w == -1) << c.name;
  }
}

int g_messages = 0;

// Refused before any texture name is made, so no context is needed here.
TEST(TextureFiles, APlainFileIsReadWholeAndOthersMakeNoTextures) {
  const testing::TempFolder folder;
  const Bytes bgr = RandomPicture(8, 4, 11);
  ScrollingPicture picture;
  const Bytes file = testing::Bitmap24(8, 4, bgr), truncated(file.begin(), file.end() - 1);
  ASSERT_EQ(ReadScrollingPicture(folder.Write("ok.bmp", file).c_str(), &picture), PictureResult::kOk);
  EXPECT_EQ(std::make_pair(picture.width, picture.height), std::make_pair(8, 4));
  EXPECT_EQ(Bytes(picture.pixels.get(), picture.pixels.get() + bgr.size()), bgr);

  const struct {
    const char* name;
    std::string path;
    PictureResult expected;
  } cases[] = {
      {"missing", folder.path() + "/missing.bmp", PictureResult::kOpenFailed},
      {"zero length", folder.Write("empty.bmp", {}), PictureResult::kRefused},
      {"pixel data one byte short", folder.Write("truncated.bmp", truncated), PictureResult::kRefused},
      {"wrong depth", folder.Write("depth.bmp", With(file, 28, 32, 2)), PictureResult::kRefused},
  };
  g_messages = 0;
  SetDibMessageHandler([](const char*) { ++g_messages; });
  for (const auto& c : cases) {
    ScrollingPicture refused;
    EXPECT_EQ(ReadScrollingPicture(c.path.c_str(), &refused), c.expected) << c.name;
    EXPECT_EQ(refused.pixels, nullptr) << c.name;
    GLuint names[4] = {};
    EXPECT_FALSE(LoadScrollingTextures(c.path.c_str(), names, 4, 1, 2)) << c.name;
    for (GLuint n : names) EXPECT_EQ(n, 0u) << c.name;
  }
  SetDibMessageHandler(nullptr);
  EXPECT_EQ(g_messages, 0);  // the scrolling sets say nothing
}

}  // namespace
}  // namespace hz
