#include "textures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "../../common/bitmap_bytes.h"

namespace hz {
namespace {

using testing::Bytes;
using testing::Put16;
using testing::Put32;

Bytes RandomPicture(int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(static_cast<std::size_t>(width) * height * 3);
  for (auto& v : b) v = static_cast<std::uint8_t>(rng());
  return b;
}

// The set made the long way: one buffer, rotated one pixel at a time, dx
// times along every row and dy times along every column per texture.
std::vector<Bytes> RotatedOnePixelAtATime(const Bytes& picture, int w, int h, int count, int dx, int dy) {
  std::vector<Bytes> set;
  Bytes buf = picture;
  auto at = [&](int x, int y) { return buf.begin() + (static_cast<std::ptrdiff_t>(y) * w + x) * 3; };
  for (int k = 0; k < count; ++k) {
    for (int i = 0; i < (dx > 0 ? dx : -dx); ++i) {
      for (int y = 0; y < h; ++y) {
        if (dx > 0) {
          std::rotate(at(0, y), at(w - 1, y), at(w, y));  // last pixel becomes the first
        } else {
          std::rotate(at(0, y), at(1, y), at(w, y));  // first pixel becomes the last
        }
      }
    }
    const std::size_t row = static_cast<std::size_t>(w) * 3;
    for (int i = 0; i < (dy > 0 ? dy : -dy); ++i) {
      if (dy > 0) {
        std::rotate(buf.begin(), buf.end() - static_cast<std::ptrdiff_t>(row),
                    buf.end());  // last row to row 0
      } else {
        std::rotate(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(row),
                    buf.end());  // row 0 to the last
      }
    }
    set.push_back(buf);
  }
  return set;
}

Bytes Shifted(const Bytes& picture, int w, int h, long long dx, long long dy) {
  Bytes out(picture.size());
  ShiftPicture(picture.data(), w, h, dx, dy, out.data());
  return out;
}

TEST(TextureShifts, DirectCopiesMatchRepeatedOnePixelRotations) {
  struct Case {
    int w, h, count, dx, dy;
  };
  const Case cases[] = {
      {256, 256, 256, 1, 2}, {256, 256, 256, -1, -1}, {8, 4, 40, 1, 2}, {8, 4, 40, -1, -1},
      {4, 8, 20, 3, -5},     {16, 2, 20, -7, 3},      {1, 1, 10, 1, 2}, {1, 1, 10, -1, -1},
      {16, 1, 20, 5, 1},     {1, 16, 20, 2, -3},      {8, 8, 9, 0, 0},
  };
  for (const Case& c : cases) {
    const Bytes picture = RandomPicture(c.w, c.h, static_cast<unsigned>(c.w * 31 + c.h));
    const std::vector<Bytes> expected = RotatedOnePixelAtATime(picture, c.w, c.h, c.count, c.dx, c.dy);
    for (int k = 0; k < c.count; ++k) {
      const long long steps = k + 1;
      ASSERT_EQ(Shifted(picture, c.w, c.h, steps * c.dx, steps * c.dy), expected[static_cast<std::size_t>(k)])
          << c.w << "x" << c.h << " shift (" << c.dx << ", " << c.dy << "), texture " << k;
    }
  }
}

TEST(TextureShifts, TheLastTextureOfEachSetIsThePictureForA256Square) {
  const Bytes picture = RandomPicture(256, 256, 7);
  EXPECT_EQ(Shifted(picture, 256, 256, 256 * 1, 256 * 2), picture) << "set A: dx +1, dy +2";
  EXPECT_EQ(Shifted(picture, 256, 256, 256 * -1, 256 * -1), picture) << "set B: dx -1, dy -1";
  EXPECT_NE(Shifted(picture, 256, 256, 255 * 1, 255 * 2), picture);
}

TEST(TextureShifts, NoShiftAndOnePixelPicturesStayAsTheyAre) {
  const Bytes picture = RandomPicture(8, 4, 3);
  for (long long k = 1; k <= 5; ++k) EXPECT_EQ(Shifted(picture, 8, 4, 0, 0), picture);
  const Bytes pixel = {10, 20, 30};
  for (long long s : {1LL, -1LL, 2LL, 255LL, -4096LL}) EXPECT_EQ(Shifted(pixel, 1, 1, s, -s), pixel);
}

// --- the scrolling layout's header

Bytes Header(int w, int h) {
  Bytes b = testing::Bitmap24(1, 1, {0, 0, 0});
  b.resize(54);
  Put32(b, 18, static_cast<std::uint32_t>(w));
  Put32(b, 22, static_cast<std::uint32_t>(h));
  return b;
}

std::uint64_t Full(int w, int h) {
  return 54 + 3ull * static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
}

Bytes With(Bytes b, std::size_t at, std::uint32_t v, int size = 4) {
  if (size == 2) {
    Put16(b, at, v);
  } else {
    Put32(b, at, v);
  }
  return b;
}

TEST(ScrollingHeader, OnlyThePlainLayoutPasses) {
  struct Case {
    const char* name;
    Bytes header;
    std::uint64_t length;
    bool accepted;
  };
  const Case cases[] = {
      {"256 x 256", Header(256, 256), Full(256, 256), true},
      {"trailing bytes after the pixels", Header(256, 256), Full(256, 256) + 100, true},
      {"1 x 1, a single row", Header(1, 1), Full(1, 1), true},
      {"2 x 1, a single row", Header(2, 1), Full(2, 1), true},
      {"4 x 2", Header(4, 2), Full(4, 2), true},
      {"1024 x 1024", Header(1024, 1024), Full(1024, 1024), true},
      {"1 x 2: padded rows", Header(1, 2), Full(1, 2), false},
      {"2 x 4: padded rows", Header(2, 4), Full(2, 4), false},
      {"3 x 4: not a power of two", Header(3, 4), Full(3, 4), false},
      {"256 x 96: not a power of two", Header(256, 96), Full(256, 96), false},
      {"2048 x 4: too wide", Header(2048, 4), Full(2048, 4), false},
      {"4 x 2048: too high", Header(4, 2048), Full(4, 2048), false},
      {"huge width", Header(0x40000000, 4), UINT64_MAX, false},
      {"width 0", Header(0, 4), Full(4, 4), false},
      {"height 0", Header(4, 0), Full(4, 4), false},
      {"top-down", Header(4, -4), Full(4, 4), false},
      {"no signature", With(Header(4, 4), 0, 0x4141, 2), Full(4, 4), false},
      {"colour table before the pixels", With(Header(4, 4), 10, 58), Full(4, 4) + 4, false},
      {"12-byte information header", With(Header(4, 4), 14, 12), Full(4, 4), false},
      {"108-byte information header", With(Header(4, 4), 14, 108), Full(4, 4), false},
      {"8 bits", With(Header(4, 4), 28, 8, 2), Full(4, 4), false},
      {"32 bits", With(Header(4, 4), 28, 32, 2), Full(4, 4), false},
      {"compressed", With(Header(4, 4), 30, 1), Full(4, 4), false},
      {"pixel data one byte short", Header(256, 256), Full(256, 256) - 1, false},
      {"header only", Header(4, 4), 54, false},
      {"shorter than the header", Header(4, 4), 53, false},
      {"zero length", Header(4, 4), 0, false},
  };
  for (const Case& c : cases) {
    int w = -1;
    int h = -1;
    EXPECT_EQ(CheckScrollingHeader(c.header.data(), c.length, &w, &h), c.accepted) << c.name;
    if (!c.accepted) {
      EXPECT_EQ(w, -1) << c.name;
    }
  }
}

class ScrollingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/hazumaki-scroll-XXXXXX";
    dir_ = mkdtemp(pattern);
  }
  void TearDown() override {
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

TEST_F(ScrollingFileTest, APlainFileIsReadWhole) {
  const Bytes bgr = RandomPicture(8, 4, 11);
  ScrollingPicture picture;
  ASSERT_EQ(ReadScrollingPicture(Write("ok.bmp", testing::Bitmap24(8, 4, bgr)).c_str(), &picture),
            PictureResult::kOk);
  EXPECT_EQ(picture.width, 8);
  EXPECT_EQ(picture.height, 4);
  EXPECT_EQ(Bytes(picture.pixels.get(), picture.pixels.get() + bgr.size()), bgr);
}

TEST_F(ScrollingFileTest, MissingDamagedAndShortFilesMakeNoTextures) {
  Bytes truncated = testing::Bitmap24(8, 4, RandomPicture(8, 4, 1));
  truncated.resize(truncated.size() - 1);
  Bytes wrongDepth = testing::Bitmap24(8, 4, RandomPicture(8, 4, 1));
  Put16(wrongDepth, 28, 32);
  struct Case {
    const char* name;
    std::string path;
    PictureResult expected;
  };
  const Case cases[] = {
      {"missing", dir_ + "/missing.bmp", PictureResult::kOpenFailed},
      {"zero length", Write("empty.bmp", {}), PictureResult::kRefused},
      {"header cut short", Write("short.bmp", Bytes(truncated.begin(), truncated.begin() + 40)),
       PictureResult::kRefused},
      {"pixel data one byte short", Write("truncated.bmp", truncated), PictureResult::kRefused},
      {"padded rows", Write("padded.bmp", testing::Bitmap24(2, 2, RandomPicture(2, 2, 1))),
       PictureResult::kRefused},
      {"wrong depth", Write("depth.bmp", wrongDepth), PictureResult::kRefused},
  };
  for (const Case& c : cases) {
    ScrollingPicture picture;
    EXPECT_EQ(ReadScrollingPicture(c.path.c_str(), &picture), c.expected) << c.name;
    EXPECT_EQ(picture.pixels, nullptr) << c.name;
    // Refused before any texture name is made, so no context is needed here.
    GLuint names[4] = {};
    EXPECT_FALSE(LoadScrollingTextures(c.path.c_str(), names, 4, 1, 2)) << c.name;
    for (GLuint n : names) EXPECT_EQ(n, 0u) << c.name;
  }
}

int g_messages = 0;

TEST_F(ScrollingFileTest, AMissingFileMakesNoTextureAndNoMessage) {
  g_messages = 0;
  SetDibMessageHandler([](const char*) { ++g_messages; });
  GLuint name = 0;
  EXPECT_FALSE(LoadTexture((dir_ + "/missing.bmp").c_str(), &name, GL_REPEAT, GL_REPEAT));
  EXPECT_FALSE(LoadTexture(nullptr, &name, GL_REPEAT, GL_REPEAT));
  SetDibMessageHandler(nullptr);
  EXPECT_EQ(name, 0u);
  EXPECT_EQ(g_messages, 0);
}

}  // namespace
}  // namespace hz
