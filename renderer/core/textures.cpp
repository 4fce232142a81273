#include "textures.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace hz {
namespace {

constexpr std::size_t kHeaderBytes = 54;

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

bool IsSide(std::int32_t v) { return v > 0 && v <= kMaxScrollingSide && (v & (v - 1)) == 0; }

long long Wrap(long long shift, int size) {
  const long long r = shift % size;
  return r < 0 ? r + size : r;
}

// Rows are handed to GL tightly packed; this keeps the caller's unpack state.
class TightUnpack {
 public:
  TightUnpack() {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  ~TightUnpack() { glPopClientAttrib(); }
  TightUnpack(const TightUnpack&) = delete;
  TightUnpack& operator=(const TightUnpack&) = delete;
};

}  // namespace

bool CheckScrollingHeader(const std::uint8_t* header, std::uint64_t fileLength, int* width, int* height) {
  if (fileLength < kHeaderBytes) return false;
  if (header[0] != 'B' || header[1] != 'M') return false;
  if (U32(header + 10) != kHeaderBytes || U32(header + 14) != 40) return false;
  const auto w = static_cast<std::int32_t>(U32(header + 18));
  const auto h = static_cast<std::int32_t>(U32(header + 22));
  if (!IsSide(w) || !IsSide(h)) return false;
  if (U16(header + 28) != 24 || U32(header + 30) != 0) return false;
  if ((3 * w) % 4 != 0 && h != 1) return false;
  if (fileLength - kHeaderBytes < 3ull * static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h))
    return false;
  *width = w;
  *height = h;
  return true;
}

PictureResult ReadScrollingPicture(const char* path, ScrollingPicture* picture) {
  if (!path) return PictureResult::kOpenFailed;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return PictureResult::kOpenFailed;
  PictureResult result = PictureResult::kRefused;
  std::uint8_t header[kHeaderBytes];
  long length = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
  int w = 0;
  int h = 0;
  if (length >= 0 && std::fseek(f, 0, SEEK_SET) == 0 &&
      std::fread(header, 1, kHeaderBytes, f) == kHeaderBytes &&
      CheckScrollingHeader(header, static_cast<std::uint64_t>(length), &w, &h)) {
    const std::size_t bytes = 3 * static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[bytes]);
    // A file that shrank since its length was taken is refused too.
    if (pixels && std::fread(pixels.get(), 1, bytes, f) == bytes) {
      picture->width = w;
      picture->height = h;
      picture->pixels = std::move(pixels);
      result = PictureResult::kOk;
    }
  }
  std::fclose(f);
  return result;
}

void ShiftPicture(const std::uint8_t* picture, int width, int height, long long dx, long long dy,
                  std::uint8_t* out) {
  const std::size_t row = 3 * static_cast<std::size_t>(width);
  const auto sx = static_cast<std::size_t>(Wrap(dx, width)) * 3;
  const auto sy = static_cast<int>(Wrap(dy, height));
  for (int y = 0; y < height; ++y) {
    const int from = y >= sy ? y - sy : y - sy + height;
    const std::uint8_t* src = picture + static_cast<std::size_t>(from) * row;
    std::uint8_t* dst = out + static_cast<std::size_t>(y) * row;
    std::memcpy(dst + sx, src, row - sx);
    std::memcpy(dst, src + row - sx, sx);
  }
}

}  // namespace hz

bool LoadTexture(const char* path, GLuint* texture, GLint wrapS, GLint wrapT) {
  if (!path || !texture) return false;
  // A missing file is no error worth a message.
  std::FILE* f = std::fopen(path, "r");
  if (!f) return false;
  std::fclose(f);

  DibImage* image = LoadDibImage(path);
  if (!image) return false;
  glGenTextures(1, texture);
  glBindTexture(GL_TEXTURE_2D, *texture);
  {
    hz::TightUnpack unpack;
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE, image->data);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  FreeDibImage(image);
  return true;
}

bool LoadScrollingTextures(const char* path, GLuint* textures, int count, int dx, int dy) {
  hz::ScrollingPicture picture;
  if (hz::ReadScrollingPicture(path, &picture) != hz::PictureResult::kOk) return false;
  if (count <= 0) return true;
  if (!textures) return false;
  const std::size_t bytes =
      3 * static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
  // Each texture is made and uploaded in turn through one buffer, so only one
  // shifted copy is ever alive besides the picture.
  std::unique_ptr<std::uint8_t[]> shifted(new (std::nothrow) std::uint8_t[bytes]);
  if (!shifted) return false;

  glGenTextures(count, textures);
  hz::TightUnpack unpack;
  for (int k = 0; k < count; ++k) {
    const long long steps = static_cast<long long>(k) + 1;
    hz::ShiftPicture(picture.pixels.get(), picture.width, picture.height, steps * dx, steps * dy,
                     shifted.get());
    glBindTexture(GL_TEXTURE_2D, textures[k]);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, picture.width, picture.height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                 shifted.get());
  }
  return true;
}
