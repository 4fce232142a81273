// A long native run of the scene offscreen, for memory growth: FRAMES frames
// 16 ms apart on a fake clock that starts ten minutes before the tick count
// wraps, with the resident set size printed after the warm-up, every tenth
// of the run, and at the end. A viewport smaller than the 1024 x 768 buffer
// keeps the software rasterizer's share of the time down; everything the
// scene allocates is the same at any size.
//
//   soak_bench [FRAMES] [WIDTH HEIGHT] [PICTURES_DIR]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench_scene.h"
#include "gl_api.h"
#include "offscreen_context.h"
#include "scene.h"

namespace {

std::uint32_t g_now = 0;
std::uint32_t FakeTick() { return g_now; }

long ResidentKb() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::strtol(line + 6, nullptr, 10);
  }
  std::fclose(f);
  return kb;
}

}  // namespace

int main(int argc, char** argv) {
  const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
  const int width = argc > 3 ? static_cast<int>(std::strtol(argv[2], nullptr, 10)) : 1024;
  const int height = argc > 3 ? static_cast<int>(std::strtol(argv[3], nullptr, 10)) : 768;
  const std::string pictures = argc > 4 ? argv[4] : SourcePath("host/res");
  OffscreenContext context;
  if (!context.ready() || frames < 1 || width < 1 || height < 1 || width > 1024 || height > 768) {
    std::fprintf(stderr, "soak_bench: no offscreen context, or bad arguments\n");
    return 1;
  }
  Scene scene(pictures, &FakeTick);
  StartScene(scene, width, height);
  const std::uint32_t start = 0xFFFFFFFFu - 600000u;
  const long warmUp = frames < 1000 ? frames / 10 : 1000;
  long rssWarm = 0;
  long worst = 0;
  const auto begin = std::chrono::steady_clock::now();
  for (long i = 0; i < frames; ++i) {
    g_now = start + static_cast<std::uint32_t>(i) * 16u;
    DrawSceneFrame(scene);
    glFinish();
    if (i == warmUp) {
      rssWarm = ResidentKb();
      std::printf("frame %ld: RSS %ld kB (after the warm-up)\n", i, rssWarm);
    }
    if (i > warmUp && (i % (frames / 10 > 0 ? frames / 10 : 1) == 0 || i == frames - 1)) {
      const long rss = ResidentKb();
      if (rss > worst) worst = rss;
      std::printf("frame %ld: RSS %ld kB, phase %.3f\n", i, rss, static_cast<double>(scene.Phase()));
      std::fflush(stdout);
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const long rssEnd = ResidentKb();
  std::printf(
      "%ld frames at %d x %d in %.1f s (%.1f fps); RSS %ld kB after the warm-up, %ld kB at the end "
      "(%+ld kB), highest %ld kB; GL error 0x%x\n",
      frames, width, height, seconds, static_cast<double>(frames) / seconds, rssWarm, rssEnd,
      rssEnd - rssWarm, worst, glGetError());
  return 0;
}
