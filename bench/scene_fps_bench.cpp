// Frames per second of the scene at 1024 x 768: the renderer's drawing
// against the plain drawing (immediate mode, the fade quad blended over every
// frame), in alternating rounds of the same frames so that a busy machine
// slows both alike. Natively it draws offscreen; the Windows build draws into
// a hidden window's WGL context, for measuring under Wine.
//
//   scene_fps_bench [PICTURES_DIR] [ROUNDS] [FRAMES_PER_ROUND]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gl_setup.h"
#include "plain_drawing.h"
#include "scene.h"
#if defined(_WIN32)
#include "hidden_window_context.h"
#else
#include "offscreen_context.h"
#endif

namespace {

std::uint32_t g_now = 0;
std::uint32_t FakeTick() { return g_now; }

#if defined(_WIN32)
using Context = HiddenWindowContext;
#else
using Context = OffscreenContext;
#endif

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Each round's ratio to the plain round just before it: their median, and
// the lowest and highest, which show how much a busy machine moved them.
struct Ratios {
  double median, low, high;
};
Ratios RoundRatios(const std::vector<double>& fps, const std::vector<double>& plain) {
  std::vector<double> r;
  for (std::size_t i = 0; i < fps.size(); ++i) r.push_back(fps[i] / plain[i]);
  const auto [low, high] = std::minmax_element(r.begin(), r.end());
  return {Median(r), *low, *high};
}

template <typename DrawOne>
double RoundFps(Context& context, DrawOne draw, int frames, std::uint32_t start) {
  using Clock = std::chrono::steady_clock;
  const auto begin = Clock::now();
  for (int i = 0; i < frames; ++i) {
    g_now = start + static_cast<std::uint32_t>(i) * 16u;
    draw();
    context.Finish();  // as a buffer swap would wait for the rasterizer
  }
  return frames / std::chrono::duration<double>(Clock::now() - begin).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string pictures = argc > 1 ? argv[1] : std::string(HZ_SOURCE_DIR) + "/host/res";
  const int rounds = argc > 2 ? static_cast<int>(std::strtol(argv[2], nullptr, 10)) : 7;
  const int frames = argc > 3 ? static_cast<int>(std::strtol(argv[3], nullptr, 10)) : 40;
  Context context(1024, 768);
  if (!context.ready() || rounds < 1 || frames < 1) {
    std::fprintf(stderr, "scene_fps_bench: no context, or bad arguments\n");
    return 1;
  }
  std::printf("scene at 1024 x 768 (%s), %d rounds of %d frames each:\n",
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)), rounds, frames);

  // The fade's last level depends on when the last frame of the fade fell:
  // 0.999 rounds to full level, 0.985 (as at 66 fps) still darkens a little.
  for (const std::uint32_t lastFadeFrame : {9990u, 9850u}) {
    Scene product(pictures, &FakeTick), plain(pictures, &FakeTick);
    StartScene(product, 1024, 768);
    plain.Start();
    for (const std::uint32_t t : {0u, lastFadeFrame}) {
      g_now = t;
      DrawSceneFrame(product);
      DrawPlainFrame(plain);
    }
    std::vector<double> fast, slow;
    for (int r = 0; r < rounds; ++r) {
      const auto start = 20000u + static_cast<std::uint32_t>(r) * 1000u;
      slow.push_back(RoundFps(
          context, [&] { DrawPlainFrame(plain); }, frames, start));
      fast.push_back(RoundFps(
          context, [&] { DrawSceneFrame(product); }, frames, start));
    }
    const Ratios ratio = RoundRatios(fast, slow);
    std::printf(
        "  fade ended at alpha %.3f: renderer %6.1f fps, plain %6.1f fps (medians), ratio %.2f (%.2f-%.2f)\n",
        static_cast<double>(product.fadeQuad.fColour[3]), Median(fast), Median(slow), ratio.median, ratio.low,
        ratio.high);
  }
  return 0;
}
