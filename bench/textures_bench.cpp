// The start-up cost of the two scrolling sets: making the 512 shifted
// textures, uploading them, and the memory they take.
//
//   textures_bench               the product's way: each texture made and uploaded in turn
//   textures_bench --keep-copies every shifted copy made first and kept until all are uploaded
//
// Each way runs in its own process, so that the peak memory it prints is its own.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench_scene.h"
#include "offscreen_context.h"
#include "textures.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Peak resident memory of this process so far, in MB.
double PeakMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

struct Set {
  const char* file;
  int dx, dy;
};
const Set kSets[] = {{"host/res/Tovira02.bmp", 1, 2}, {"host/res/Tovira03.bmp", -1, -1}};

// The one-pixel rotations of the plain algorithm, for comparison.
void RotateOnce(std::uint8_t* p, int w, int h, int dx, int dy) {
  const std::size_t row = static_cast<std::size_t>(w) * 3;
  for (int i = 0; i < std::abs(dx); ++i) {
    for (int y = 0; y < h; ++y) {
      std::uint8_t* r = p + static_cast<std::size_t>(y) * row;
      if (dx > 0) {
        std::rotate(r, r + row - 3, r + row);
      } else {
        std::rotate(r, r + 3, r + row);
      }
    }
  }
  const std::size_t all = row * static_cast<std::size_t>(h);
  for (int i = 0; i < std::abs(dy); ++i) {
    if (dy > 0) {
      std::rotate(p, p + all - row, p + all);
    } else {
      std::rotate(p, p + row, p + all);
    }
  }
}

std::vector<hz::ScrollingPicture> ReadPictures() {
  std::vector<hz::ScrollingPicture> pictures(2);
  for (int i = 0; i < 2; ++i) {
    if (hz::ReadScrollingPicture(SourcePath(kSets[i].file).c_str(), &pictures[i]) != hz::PictureResult::kOk) {
      std::fprintf(stderr, "cannot read %s\n", kSets[i].file);
      std::exit(1);
    }
  }
  return pictures;
}

void Upload(GLuint name, const hz::ScrollingPicture& p, const std::uint8_t* pixels) {
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, p.width, p.height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels);
}

int KeepCopies() {
  OffscreenContext gl;
  if (!gl.ready()) return 1;
  const double before = PeakMb();
  const auto t0 = Clock::now();
  const std::vector<hz::ScrollingPicture> pictures = ReadPictures();
  std::vector<std::vector<std::uint8_t>> copies;
  for (int s = 0; s < 2; ++s) {
    const auto& p = pictures[s];
    std::vector<std::uint8_t> buffer(p.pixels.get(), p.pixels.get() + 3 * p.width * p.height);
    for (int k = 0; k < 256; ++k) {
      RotateOnce(buffer.data(), p.width, p.height, kSets[s].dx, kSets[s].dy);
      copies.push_back(buffer);
    }
  }
  const double make = Ms(t0);
  std::vector<GLuint> names(512);
  glGenTextures(512, names.data());
  const auto t1 = Clock::now();
  for (int i = 0; i < 512; ++i) Upload(names[i], pictures[i / 256], copies[i].data());
  glFinish();
  const double upload = Ms(t1);
  std::printf("every copy kept, one-pixel rotations: make %.1f ms, upload %.1f ms, total %.1f ms\n", make,
              upload, make + upload);
  std::printf("  peak memory %.1f MB (%.1f MB with the context alone)\n", PeakMb(), before);
  return 0;
}

int Product() {
  OffscreenContext gl;
  if (!gl.ready()) return 1;
  const double before = PeakMb();
  GLuint a[256];
  GLuint b[256];
  const auto t0 = Clock::now();
  const bool ok = LoadScrollingTextures(SourcePath(kSets[0].file).c_str(), a, 256, 1, 2) &&
                  LoadScrollingTextures(SourcePath(kSets[1].file).c_str(), b, 256, -1, -1);
  glFinish();
  const double total = Ms(t0);
  if (!ok) return 1;
  const double after = PeakMb();

  // The two halves on their own, through the same buffers.
  const std::vector<hz::ScrollingPicture> pictures = ReadPictures();
  std::vector<std::uint8_t> buffer(3 * 256 * 256);
  auto t1 = Clock::now();
  for (int s = 0; s < 2; ++s) {
    for (int k = 0; k < 256; ++k) {
      hz::ShiftPicture(pictures[s].pixels.get(), 256, 256, (k + 1LL) * kSets[s].dx, (k + 1LL) * kSets[s].dy,
                       buffer.data());
    }
  }
  const double direct = Ms(t1);
  t1 = Clock::now();
  for (int s = 0; s < 2; ++s) {
    std::memcpy(buffer.data(), pictures[s].pixels.get(), buffer.size());
    for (int k = 0; k < 256; ++k) RotateOnce(buffer.data(), 256, 256, kSets[s].dx, kSets[s].dy);
  }
  const double rotations = Ms(t1);
  std::vector<GLuint> names(512);
  glGenTextures(512, names.data());
  t1 = Clock::now();
  for (int i = 0; i < 512; ++i) Upload(names[i], pictures[i / 256], buffer.data());
  glFinish();
  const double upload = Ms(t1);

  // The same uploads into textures whose storage the driver already has:
  // what is left is the copying and converting itself.
  t1 = Clock::now();
  for (int i = 0; i < 512; ++i) Upload(names[i], pictures[i / 256], buffer.data());
  glFinish();
  const double reupload = Ms(t1);

  // The driver keeps each 256 x 256 texture in 256 KB of fresh memory (four
  // bytes a pixel); touching that much new memory is the floor for any way
  // of making 512 separate textures.
  constexpr std::size_t kStorage = 256 * 256 * 4;
  std::vector<std::unique_ptr<std::uint8_t[]>> blocks;
  t1 = Clock::now();
  for (int i = 0; i < 512; ++i) {
    blocks.emplace_back(new std::uint8_t[kStorage]);
    std::memset(blocks.back().get(), i, kStorage);
  }
  const double touch = Ms(t1);
  volatile std::uint8_t seen = blocks[511][kStorage - 1];
  (void)seen;

  std::printf("LoadScrollingTextures x 2 (512 textures made and uploaded in turn): %.1f ms\n", total);
  std::printf("  making 512 shifted copies: direct offset copies %.1f ms, one-pixel rotations %.1f ms\n",
              direct, rotations);
  std::printf(
      "  uploading 512 textures of 256 x 256: %.1f ms into new textures, %.1f ms into existing ones\n",
      upload, reupload);
  std::printf("  floor on this machine: first touch of 512 x 256 KB of fresh memory %.1f ms\n", touch);
  std::printf("  peak memory %.1f MB after loading (%.1f MB with the context alone)\n", after, before);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--keep-copies") == 0) return KeepCopies();
  return Product();
}
