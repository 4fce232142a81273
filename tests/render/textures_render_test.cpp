#include <gtest/gtest.h>

#include <string>

#include "../common/bitmap_bytes.h"
#include "offscreen_context.h"
#include "textures.h"

namespace hz {
namespace {

using testing::Bytes;

// A texture's size, filter and wrap, and its texels as rows tightly packed, row 0 (t = 0) first.
struct Texture {
  GLint width = 0, height = 0, minFilter = 0, wrapS = 0;
  Bytes bgr;
};

Texture Read(GLuint name) {
  Texture t;
  glBindTexture(GL_TEXTURE_2D, name);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &t.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &t.height);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &t.minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &t.wrapS);
  t.bgr.resize(static_cast<std::size_t>(t.width) * static_cast<std::size_t>(t.height) * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, t.bgr.data());
  return t;
}

TEST(TextureRender, TheSceneMakesFiveHundredThirteenTexturesFromTheHostsPictures) {
  OffscreenContext gl;
  ASSERT_TRUE(gl.ready());
  const std::string res = std::string(HZ_SOURCE_DIR) + "/host/res/";
  GLuint fade = 0, setA[256] = {}, setB[256] = {};
  ASSERT_TRUE(LoadTexture((res + "Tovira01.bmp").c_str(), &fade, GL_REPEAT, GL_REPEAT));
  const struct {
    const char* file;
    GLuint* textures;
    int dx, dy;
  } sets[] = {{"Tovira02.bmp", setA, 1, 2}, {"Tovira03.bmp", setB, -1, -1}};
  for (const auto& set : sets)
    ASSERT_TRUE(LoadScrollingTextures((res + set.file).c_str(), set.textures, 256, set.dx, set.dy));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  const Texture black = Read(fade);
  EXPECT_EQ(black.bgr, (Bytes{0, 0, 0}));
  EXPECT_EQ(black.minFilter, GL_LINEAR);

  // Texture k shows the picture (blue-green-red from byte 54 on) shifted (k + 1) times.
  for (const auto& set : sets) {
    const Bytes file = testing::ReadBytes(res + set.file);
    ASSERT_EQ(file.size(), 54u + 256 * 256 * 3);
    const Bytes picture(file.begin() + 54, file.end());
    Bytes expected(picture.size());
    for (long long k = 0; k < 256; ++k) {
      const Texture t = Read(set.textures[k]);
      ASSERT_EQ(t.width * t.height, 256 * 256);
      ASSERT_EQ(t.minFilter, GL_LINEAR);
      ShiftPicture(picture.data(), 256, 256, (k + 1) * set.dx, (k + 1) * set.dy, expected.data());
      ASSERT_EQ(t.bgr, expected) << set.file << ", texture " << k;
    }
    EXPECT_EQ(expected, picture) << "a whole turn of " << set.file;
  }
}

TEST(TextureRender, RowsThatNeedPaddingInTheFileUploadExactlyAndLeaveTheUnpackStateAlone) {
  OffscreenContext gl;
  ASSERT_TRUE(gl.ready());
  // 3 x 2: 9 bytes a row, padded to 12 in the file but tight in the image.
  const Bytes bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  const testing::TempFolder folder;
  GLuint texture = 0;
  ASSERT_TRUE(LoadTexture(folder.Write("odd.bmp", testing::Bitmap24(3, 2, bgr)).c_str(), &texture, GL_CLAMP,
                          GL_REPEAT));
  const Texture t = Read(texture);
  EXPECT_EQ(t.width, 3);
  EXPECT_EQ(t.bgr, bgr);
  EXPECT_EQ(t.wrapS, GL_CLAMP);
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
}

}  // namespace
}  // namespace hz
