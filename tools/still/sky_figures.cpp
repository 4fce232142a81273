// sky_figures: how the two sky pictures look together on the tunnel's walls.
//
//   sky_figures PICTURES_DIR CONTACT_SHEET.bmp
//
// Runs the real scene offscreen at 1024 x 768 with a fake clock and samples
// the minute after the fade-in (10 s to 70 s, every 0.5 s). Unit 0 shows one
// picture and unit 1 adds the other, so pictures that are each bright enough
// alone can sum to flat white; the figures say how much of the screen does.
// Six of the samples, at half size, go into a 3 x 2 contact sheet.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <utility>
#include <vector>

#include "bitmap_file.h"
#include "gl_setup.h"
#include "offscreen_context.h"
#include "scene.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr std::uint32_t kFirst = 10000, kLast = 70000, kStep = 500;
constexpr std::uint32_t kSheetTimes[] = {11000, 20000, 30000, 40000, 50000, 60000};
constexpr int kSheetColumns = 3, kSheetRows = 2;

std::uint32_t g_now = 0;
std::uint32_t FakeTick() { return g_now; }

struct Sample {
  double clipped = 0;  // share of pixels with all three channels at 250 or more
  double luminance = 0;
  double red = 0, green = 0, blue = 0;
};

Sample Measure(const std::vector<std::uint8_t>& rgb) {
  Sample s;
  std::size_t clipped = 0;
  const std::size_t n = rgb.size() / 3;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t r = rgb[3 * i], g = rgb[3 * i + 1], b = rgb[3 * i + 2];
    clipped += r >= 250 && g >= 250 && b >= 250;
    s.red += r;
    s.green += g;
    s.blue += b;
  }
  const double count = static_cast<double>(n);
  s.clipped = static_cast<double>(clipped) / count;
  s.red /= count;
  s.green /= count;
  s.blue /= count;
  s.luminance = 0.299 * s.red + 0.587 * s.green + 0.114 * s.blue;
  return s;
}

// One frame, every other pixel of every other row, into its cell of the
// sheet (both bottom row first; the first frame goes top left).
void PutOnSheet(const std::vector<std::uint8_t>& rgb, int cell, hz::Bitmap24& sheet) {
  const int cw = kWidth / 2, ch = kHeight / 2;
  const int left = (cell % kSheetColumns) * cw;
  const int bottom = (kSheetRows - 1 - cell / kSheetColumns) * ch;
  const std::size_t stride = hz::Bitmap24::Stride(sheet.width);
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) {
      const std::uint8_t* from =
          &rgb[(static_cast<std::size_t>(2 * y) * kWidth + static_cast<std::size_t>(2 * x)) * 3];
      std::uint8_t* to =
          &sheet.rows[static_cast<std::size_t>(bottom + y) * stride + static_cast<std::size_t>(left + x) * 3];
      to[0] = from[2];  // the file wants blue, green, red
      to[1] = from[1];
      to[2] = from[0];
    }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sky_figures PICTURES_DIR CONTACT_SHEET.bmp\n");
    return 2;
  }
  OffscreenContext context(kWidth, kHeight);
  if (!context.ready()) {
    std::fprintf(stderr, "sky_figures: no offscreen context\n");
    return 1;
  }
  Scene scene(argv[1], &FakeTick);
  StartScene(scene, kWidth, kHeight);
  for (const std::uint32_t t : {0u, kFirst - 1}) {  // the first frame, then the fade's last step
    g_now = t;
    DrawSceneFrame(scene);
  }

  hz::Bitmap24 sheet;
  sheet.width = kSheetColumns * kWidth / 2;
  sheet.height = kSheetRows * kHeight / 2;
  sheet.rows.assign(hz::Bitmap24::Stride(sheet.width) * static_cast<std::size_t>(sheet.height), 0);

  std::vector<std::pair<std::uint32_t, Sample>> samples;
  int cell = 0;
  for (std::uint32_t t = kFirst; t <= kLast; t += kStep) {
    g_now = t;
    DrawSceneFrame(scene);
    const std::vector<std::uint8_t> rgba = context.ReadPixels();
    std::vector<std::uint8_t> rgb;
    rgb.reserve(rgba.size() / 4 * 3);
    for (std::size_t i = 0; i < rgba.size(); i += 4) rgb.insert(rgb.end(), &rgba[i], &rgba[i + 3]);
    samples.emplace_back(t, Measure(rgb));
    if (std::find(std::begin(kSheetTimes), std::end(kSheetTimes), t) != std::end(kSheetTimes))
      PutOnSheet(rgb, cell++, sheet);
  }

  Sample mean;
  auto worstClipped = samples.front(), darkest = samples.front();
  int blueOverRed = 0;
  for (const auto& [t, s] : samples) {
    mean.clipped += s.clipped;
    mean.luminance += s.luminance;
    mean.red += s.red;
    mean.green += s.green;
    mean.blue += s.blue;
    blueOverRed += s.blue > s.red;
    if (s.clipped > worstClipped.second.clipped) worstClipped = {t, s};
    if (s.luminance < darkest.second.luminance) darkest = {t, s};
  }
  const double n = static_cast<double>(samples.size());
  std::printf("%zu samples, 10 s to 70 s every 0.5 s, 1024 x 768, pictures from %s\n", samples.size(),
              argv[1]);
  std::printf("clipped to white (R, G, B >= 250): average %.1f %%, worst %.1f %% at %.1f s\n",
              100 * mean.clipped / n, 100 * worstClipped.second.clipped, worstClipped.first / 1000.0);
  std::printf("mean luminance (0.299 R + 0.587 G + 0.114 B): average %.1f, lowest %.1f at %.1f s\n",
              mean.luminance / n, darkest.second.luminance, darkest.first / 1000.0);
  std::printf("mean red, green, blue: %.1f, %.1f, %.1f; blue above red in %d of %zu samples\n", mean.red / n,
              mean.green / n, mean.blue / n, blueOverRed, samples.size());
  std::printf("every 5 s (clipped %%, luminance):");
  for (std::size_t i = 0; i < samples.size(); i += 10)
    std::printf(" %.0fs %.0f/%.0f", samples[i].first / 1000.0, 100 * samples[i].second.clipped,
                samples[i].second.luminance);
  std::printf("\n");
  if (!hz::WriteBitmapFile(argv[2], sheet)) {
    std::fprintf(stderr, "sky_figures: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
