#include <gtest/gtest.h>

#include <set>
#include <string>

#include "../common/bitmap_bytes.h"
#include "offscreen.h"
#include "textures.h"

namespace hz {
namespace {

using testing::Bytes;
using testing::OffscreenContext;

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
  GLuint fade = 0, setA[256] = {}, setB[256] = {};
  ASSERT_TRUE(LoadTexture(testing::SourcePath("host/res/Tovira01.bmp").c_str(), &fade, GL_REPEAT, GL_REPEAT));
  const struct {
    const char* file;
    GLuint* textures;
    int dx, dy;
  } sets[] = {{"host/res/Tovira02.bmp", setA, 1, 2}, {"host/res/Tovira03.bmp", setB, -1, -1}};
  for (const auto& set : sets)
    ASSERT_TRUE(
        LoadScrollingTextures(testing::SourcePath(set.file).c_str(), set.textures, 256, set.dx, set.dy));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  std::set<GLuint> names = {fade, 0};
  names.insert(std::begin(setA), std::end(setA));
  names.insert(std::begin(setB), std::end(setB));
  EXPECT_EQ(names.size(), 514u);  // 513 names, none of them 0

  const testing::TextureImage black = OffscreenContext::ReadTexture(fade);
  EXPECT_EQ(black.width, 1);
  EXPECT_EQ(black.pixels, (Bytes{0, 0, 0}));
  EXPECT_EQ(Parameter(fade, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

  // Texture k shows the picture (blue-green-red from byte 54 on) shifted (k + 1) times.
  for (const auto& set : sets) {
    const Bytes file = testing::ReadBytes(testing::SourcePath(set.file));
    ASSERT_EQ(file.size(), 54u + 256 * 256 * 3);
    const Bytes picture(file.begin() + 54, file.end());
    Bytes expected(picture.size());
    for (long long k = 0; k < 256; ++k) {
      const testing::TextureImage t = OffscreenContext::ReadTexture(set.textures[k]);
      ASSERT_EQ(t.width, 256);
      ASSERT_EQ(t.height, 256);
      ShiftPicture(picture.data(), 256, 256, (k + 1) * set.dx, (k + 1) * set.dy, expected.data());
      ASSERT_EQ(t.pixels, expected) << set.file << ", texture " << k;
    }
    EXPECT_EQ(expected, picture) << "a whole turn of " << set.file;
    EXPECT_EQ(Parameter(set.textures[0], GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  }
}

TEST_F(TextureRender, RowsThatNeedPaddingInTheFileUploadExactlyAndLeaveTheUnpackStateAlone) {
  // 3 x 2: 9 bytes a row, padded to 12 in the file but tight in the image.
  const Bytes bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  const testing::TempFolder folder;
  GLuint texture = 0;
  ASSERT_TRUE(LoadTexture(folder.Write("odd.bmp", testing::Bitmap24(3, 2, bgr)).c_str(), &texture, GL_CLAMP,
                          GL_REPEAT));
  const testing::TextureImage t = OffscreenContext::ReadTexture(texture);
  EXPECT_EQ(t.width, 3);
  EXPECT_EQ(t.height, 2);
  EXPECT_EQ(t.pixels, bgr);
  EXPECT_EQ(Parameter(texture, GL_TEXTURE_WRAP_S), GL_CLAMP);
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
}

}  // namespace
}  // namespace hz
