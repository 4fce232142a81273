#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "../common/bitmap_bytes.h"
#include "dib.h"
#include "offscreen.h"
#include "textures.h"

namespace hz {
namespace {

using testing::Bytes;
using testing::OffscreenContext;

// The picture as the file stores it: blue-green-red, bottom row first.
struct FilePicture {
  int width = 0;
  int height = 0;
  Bytes bgr;
};

FilePicture ReadPlain24(const std::string& path) {
  const Bytes file = testing::ReadBytes(path);
  FilePicture p;
  if (file.size() < 54) return p;
  p.width = file[18] | file[19] << 8;
  p.height = file[22] | file[23] << 8;
  p.bgr.assign(file.begin() + 54, file.end());
  return p;
}

// Texel (x, y) of texture k: the picture's texel ((x - s·dx) mod W, (y - s·dy) mod H), s = k + 1.
Bytes Expected(const FilePicture& p, int k, int dx, int dy) {
  Bytes out(p.bgr.size());
  const long long s = k + 1;
  for (int y = 0; y < p.height; ++y) {
    const long long sy = ((y - s * dy) % p.height + p.height) % p.height;
    for (int x = 0; x < p.width; ++x) {
      const long long sx = ((x - s * dx) % p.width + p.width) % p.width;
      const std::size_t from = static_cast<std::size_t>((sy * p.width + sx) * 3);
      const std::size_t to = static_cast<std::size_t>((static_cast<long long>(y) * p.width + x) * 3);
      for (int c = 0; c < 3; ++c) out[to + c] = p.bgr[from + c];
    }
  }
  return out;
}

GLint Parameter(GLuint texture, GLenum name) {
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint v = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &v);
  return v;
}

class TextureRender : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl_.ready()); }
  OffscreenContext gl_;
};

TEST_F(TextureRender, TheSceneMakesFiveHundredThirteenTexturesFromTheHostsPictures) {
  GLuint fade = 0;
  GLuint setA[256] = {};
  GLuint setB[256] = {};
  const std::string a = testing::SourcePath("host/res/Tovira02.bmp");
  const std::string b = testing::SourcePath("host/res/Tovira03.bmp");
  ASSERT_TRUE(LoadTexture(testing::SourcePath("host/res/Tovira01.bmp").c_str(), &fade, GL_REPEAT, GL_REPEAT));
  ASSERT_TRUE(LoadScrollingTextures(a.c_str(), setA, 256, 1, 2));
  ASSERT_TRUE(LoadScrollingTextures(b.c_str(), setB, 256, -1, -1));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  std::set<GLuint> names = {fade};
  names.insert(std::begin(setA), std::end(setA));
  names.insert(std::begin(setB), std::end(setB));
  EXPECT_EQ(names.size(), 513u);
  EXPECT_EQ(names.count(0), 0u);

  const testing::TextureImage black = OffscreenContext::ReadTexture(fade);
  EXPECT_EQ(black.width, 1);
  EXPECT_EQ(black.height, 1);
  EXPECT_EQ(black.pixels, (Bytes{0, 0, 0}));
  EXPECT_EQ(Parameter(fade, GL_TEXTURE_WRAP_S), GL_REPEAT);
  EXPECT_EQ(Parameter(fade, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

  struct Set {
    const char* name;
    const GLuint* textures;
    FilePicture picture;
    int dx, dy;
  };
  const Set sets[] = {{"A", setA, ReadPlain24(a), 1, 2}, {"B", setB, ReadPlain24(b), -1, -1}};
  for (const Set& set : sets) {
    ASSERT_EQ(set.picture.width, 256);
    ASSERT_EQ(set.picture.height, 256);
    for (int k = 0; k < 256; ++k) {
      const testing::TextureImage t = OffscreenContext::ReadTexture(set.textures[k], GL_BGR);
      ASSERT_EQ(t.width, 256);
      ASSERT_EQ(t.height, 256);
      ASSERT_EQ(t.pixels, Expected(set.picture, k, set.dx, set.dy))
          << "set " << set.name << ", texture " << k;
    }
    EXPECT_EQ(Parameter(set.textures[0], GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(Parameter(set.textures[255], GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(Parameter(set.textures[255], GL_TEXTURE_WRAP_T), GL_REPEAT);
    // Both sets come back to the picture itself after a whole turn.
    EXPECT_EQ(OffscreenContext::ReadTexture(set.textures[255], GL_BGR).pixels, set.picture.bgr) << set.name;
  }
}

class TextureFiles : public TextureRender {
 protected:
  void TearDown() override {
    for (const std::string& f : files_) std::remove(f.c_str());
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    std::string path = "/tmp/hazumaki-render-" + std::to_string(getpid()) + "-" + name;
    testing::WriteBytes(path, bytes);
    files_.push_back(path);
    return path;
  }
  std::vector<std::string> files_;
};

TEST_F(TextureFiles, RowsThatNeedPaddingInTheFileUploadExactlyAndLeaveTheUnpackStateAlone) {
  // 3 x 2: 9 bytes a row, padded to 12 in the file but tight in the image.
  const Bytes bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  GLuint texture = 0;
  ASSERT_TRUE(
      LoadTexture(Write("odd.bmp", testing::Bitmap24(3, 2, bgr)).c_str(), &texture, GL_CLAMP, GL_REPEAT));
  const testing::TextureImage t = OffscreenContext::ReadTexture(texture, GL_BGR);
  EXPECT_EQ(t.width, 3);
  EXPECT_EQ(t.height, 2);
  EXPECT_EQ(t.pixels, bgr);
  EXPECT_EQ(Parameter(texture, GL_TEXTURE_WRAP_S), GL_CLAMP);
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
}

TEST_F(TextureFiles, PalettedPicturesLoadThroughOurOwnConverter) {
  testing::BitmapSpec s;
  s.bitCount = 4;
  s.headerSize = 12;
  s.fileHeader = false;
  s.width = 4;
  s.height = 2;
  s.palette.assign(16, 0);
  s.palette[2] = 0x336699;
  s.palette[9] = 0xFFEE00;
  s.rows = {0x29, 0x92, 0, 0, 0x99, 0x22, 0, 0};
  GLuint texture = 0;
  ASSERT_TRUE(LoadTexture(Write("four.bmp", BuildBitmap(s)).c_str(), &texture, GL_REPEAT, GL_REPEAT));
  const Bytes c2 = {0x33, 0x66, 0x99};
  const Bytes c9 = {0xFF, 0xEE, 0x00};
  Bytes expected;
  for (const Bytes* c : {&c2, &c9, &c9, &c2, &c9, &c9, &c2, &c2})
    expected.insert(expected.end(), c->begin(), c->end());
  EXPECT_EQ(OffscreenContext::ReadTexture(texture).pixels, expected);
}

int g_messages = 0;

TEST_F(TextureFiles, DamagedFilesMakeNoTexture) {
  g_messages = 0;
  SetDibMessageHandler([](const char*) { ++g_messages; });
  Bytes truncated = testing::Bitmap24(256, 256, Bytes(256 * 256 * 3, 50));
  truncated.resize(truncated.size() - 3);
  const std::string path = Write("truncated.bmp", truncated);

  GLuint texture = 0;
  EXPECT_FALSE(LoadTexture(path.c_str(), &texture, GL_REPEAT, GL_REPEAT));
  EXPECT_EQ(texture, 0u);
  EXPECT_EQ(g_messages, 1);  // the reader's own message

  GLuint set[256] = {};
  EXPECT_FALSE(LoadScrollingTextures(path.c_str(), set, 256, 1, 2));
  for (GLuint n : set) ASSERT_EQ(n, 0u);
  EXPECT_EQ(g_messages, 1);  // the scrolling sets say nothing
  SetDibMessageHandler(nullptr);
}

}  // namespace
}  // namespace hz
