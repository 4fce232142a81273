// Frames per second of the scene at 1024 x 768, offscreen on the software
// rasterizer: the renderer's drawing against the plain drawing it replaced
// (immediate mode, the fade quad blended over every frame), in alternating
// rounds of the same frames so that a busy machine slows both alike.
//
//   bench_scene_fps [PICTURES_DIR] [ROUNDS] [FRAMES_PER_ROUND]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame.h"
#include "gl_api.h"
#include "offscreen.h"
#include "scene.h"
#include "straight_scene.h"

namespace {

std::uint32_t g_now = 0;
std::uint32_t FakeTick() { return g_now; }

struct Figures {
  double best;
  double median;
};

Figures Summarize(std::vector<double> fps) {
  std::sort(fps.begin(), fps.end());
  return {fps.back(), fps[fps.size() / 2]};
}

template <typename DrawOne>
double RoundFps(DrawOne draw, int frames, std::uint32_t start) {
  using Clock = std::chrono::steady_clock;
  const auto begin = Clock::now();
  for (int i = 0; i < frames; ++i) {
    g_now = start + static_cast<std::uint32_t>(i) * 16u;
    draw();
    glFinish();  // as a buffer swap would wait for the software rasterizer
  }
  return frames / std::chrono::duration<double>(Clock::now() - begin).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string pictures = hz::testing::SourcePath("host/res");
  const char* folder = argc > 1 ? argv[1] : pictures.c_str();
  const int rounds = argc > 2 ? static_cast<int>(std::strtol(argv[2], nullptr, 10)) : 7;
  const int frames = argc > 3 ? static_cast<int>(std::strtol(argv[3], nullptr, 10)) : 40;
  hz::testing::OffscreenContext context;
  if (!context.ready() || rounds < 1 || frames < 1) {
    std::fprintf(stderr, "bench_scene_fps: no offscreen context, or bad arguments\n");
    return 1;
  }
  SetSceneFolder(folder);
  SetSceneClock(&FakeTick);
  ResizeView(1024, 768);
  InitGraphics();
  std::printf("scene at 1024 x 768, offscreen (%s), %d rounds of %d frames each:\n",
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)), rounds, frames);

  // The fade's last level depends on when the last frame of the fade fell:
  // 0.999 rounds to full level, 0.985 (as at 66 fps) still darkens a little.
  for (const std::uint32_t lastFadeFrame : {9990u, 9850u}) {
    SetSceneClock(&FakeTick);
    StraightScene plain(&FakeTick);
    for (const std::uint32_t t : {0u, lastFadeFrame}) {
      g_now = t;
      DrawFrame();
      plain.DrawFrame();
    }
    std::vector<double> fast, slow;
    for (int r = 0; r < rounds; ++r) {
      const auto start = 20000u + static_cast<std::uint32_t>(r) * 1000u;
      slow.push_back(RoundFps([&] { plain.DrawFrame(); }, frames, start));
      fast.push_back(RoundFps([] { DrawFrame(); }, frames, start));
    }
    const Figures f = Summarize(fast), s = Summarize(slow);
    std::printf("  fade ended at alpha %.3f:\n", static_cast<double>(SceneFadeQuad().fColour[3]));
    std::printf("    renderer: best round %6.1f fps, median %6.1f fps\n", f.best, f.median);
    std::printf("    plain:    best round %6.1f fps, median %6.1f fps\n", s.best, s.median);
    std::printf("    ratio of medians %.2f\n", f.median / s.median);
  }
  return 0;
}
