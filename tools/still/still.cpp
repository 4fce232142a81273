// still: one picture of the real scene, drawn offscreen, as a 24-bit bitmap.
//
//   still PICTURES_DIR ELAPSED_MS WIDTH HEIGHT OUT.bmp [DOWNSCALE]
//
// The scene runs from its first frame to ELAPSED_MS (one frame at the start,
// one just before, then the one that is kept), so the fade stands where the
// product's would. With DOWNSCALE n the picture is drawn n times larger in
// each direction and averaged down, which smooths its edges.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bitmap_file.h"
#include "gl_setup.h"
#include "offscreen_context.h"
#include "scene.h"

namespace {

std::uint32_t g_now = 0;
std::uint32_t FakeTick() { return g_now; }

// A whole number in [low, high], or -1.
long Number(const char* text, long low, long high) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return (end == text || *end != '\0' || value < low || value > high) ? -1 : value;
}

int Usage() {
  std::fprintf(stderr, "usage: still PICTURES_DIR ELAPSED_MS WIDTH HEIGHT OUT.bmp [DOWNSCALE]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) return Usage();
  const long elapsed = Number(argv[2], 0, 0xFFFFFFFFL);
  const int width = static_cast<int>(Number(argv[3], 1, 8192));
  const int height = static_cast<int>(Number(argv[4], 1, 8192));
  const int scale = argc > 6 ? static_cast<int>(Number(argv[6], 1, 16)) : 1;
  if (elapsed < 0 || width < 1 || height < 1 || scale < 1 || width * scale > 8192 || height * scale > 8192)
    return Usage();

  const int w = width * scale, h = height * scale;
  OffscreenContext context(w, h);
  if (!context.ready()) {
    std::fprintf(stderr, "still: no offscreen context\n");
    return 1;
  }
  Scene scene(argv[1], &FakeTick);
  StartScene(scene, w, h);
  const auto at = static_cast<std::uint32_t>(elapsed);
  const std::uint32_t before = at > 10000 ? 9999 : (at > 16 ? at - 16 : 0);
  for (const std::uint32_t t : {0u, before, at}) {
    g_now = t;
    DrawSceneFrame(scene);
  }
  const std::vector<std::uint8_t> rgba = context.ReadPixels();

  hz::Bitmap24 bitmap;
  bitmap.width = width;
  bitmap.height = height;
  const std::size_t stride = hz::Bitmap24::Stride(width);
  bitmap.rows.assign(stride * static_cast<std::size_t>(height), 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) {
        unsigned sum = 0;
        for (int sy = 0; sy < scale; ++sy)
          for (int sx = 0; sx < scale; ++sx)
            sum += rgba[(static_cast<std::size_t>(y * scale + sy) * w +
                         static_cast<std::size_t>(x * scale + sx)) *
                            4 +
                        static_cast<std::size_t>(c)];
        const auto n = static_cast<unsigned>(scale * scale);
        // Both are bottom row first; the file wants blue, green, red.
        bitmap.rows[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3 + 2 - c] =
            static_cast<std::uint8_t>((sum + n / 2) / n);
      }
  if (!hz::WriteBitmapFile(argv[5], bitmap)) {
    std::fprintf(stderr, "still: cannot write %s\n", argv[5]);
    return 1;
  }
  return 0;
}
