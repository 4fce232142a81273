// The renderer's textures: one from any bitmap the platform converts, and
// sets of pre-shifted textures from a plain 24-bit bitmap, which the scene
// steps through to scroll a picture.
#pragma once

#include <cstdint>
#include <memory>

#include "dib.h"
#include "gl_api.h"

// One texture from the bitmap at `path`, linear filtering and the given wrap
// modes. False without a message when the file does not open; false after
// LoadDibImage's message when it cannot be read.
bool LoadTexture(const char* path, GLuint* texture, GLint wrapS, GLint wrapT);

// `count` textures from a 24-bit bitmap; texture k shows the picture rotated
// by (k + 1) x dx columns and (k + 1) x dy rows, with wrap-around. False, with
// no texture made, when the file does not open or is not the plain layout
// that ReadScrollingPicture accepts.
bool LoadScrollingTextures(const char* path, GLuint* textures, int count, int dx, int dy);

namespace hz {

// A picture as a scrolling texture set takes it: blue-green-red triples,
// rows tightly packed, bottom row first.
struct ScrollingPicture {
  int width = 0;
  int height = 0;
  std::unique_ptr<std::uint8_t[]> pixels;
};

enum class PictureResult { kOk, kOpenFailed, kRefused };

// The largest side a scrolling picture may have.
inline constexpr int kMaxScrollingSide = 1024;

// Checks the first 54 bytes of a file of `fileLength` bytes: "BM", a 40-byte
// information header, pixel data at offset 54, 24 bits, uncompressed,
// bottom-up, width and height powers of two up to kMaxScrollingSide, rows
// without padding (3 x width a multiple of 4, or a single row), and all the
// pixel data present. Gives the size when the header passes.
bool CheckScrollingHeader(const std::uint8_t* header, std::uint64_t fileLength, int* width, int* height);

PictureResult ReadScrollingPicture(const char* path, ScrollingPicture* picture);

// `out` = `picture` rotated by dx columns (towards the row's end when
// positive) and dy rows (towards the last row when positive).
void ShiftPicture(const std::uint8_t* picture, int width, int height, long long dx, long long dy,
                  std::uint8_t* out);

}  // namespace hz
