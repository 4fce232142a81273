#include <gtest/gtest.h>

#include <map>
#include <string>

#include "controls/command_face.h"
#include "controls/command_model.h"
#include "settings_dialog_model.h"

namespace hz::controls {
namespace {

// Records what the button asks of its window as one line.
class RecordingSurface final : public CommandSurface {
 public:
  void DrawFace(Face face, bool hoverGradient) override {
    static const char* const names[] = {"Normal",   "HighLight", "HighLightSelect",
                                        "Selected", "Pressed",   "Disable"};
    Add(std::string("draw ") + names[static_cast<int>(face)] + (hoverGradient ? " reversed" : ""));
  }
  void PropertyChanged(std::string_view name) override { Add("changed " + std::string(name)); }
  void StartLeavePolling(unsigned ms) override { Add("poll " + std::to_string(ms)); }
  void Click() override { Add("click"); }
  void Add(const std::string& entry) { log += (log.empty() ? "" : ", ") + entry; }
  std::string Take() { return std::exchange(log, {}); }
  std::string log;
};

const FontDescription kAmbient{"Ambient", 9.75, 400, false, false, false, 128};

// One letter per event: m move, l left, s stays over, f focus, b blur, D/U left down/up, r/R right down/up, M
// middle up, z resize, e/E disable/enable. Returns what the button asked for.
using B = CommandButton;
const std::map<char, void (*)(B&)> kEvents = {
    {'m', [](B& b) { b.MouseMove(); }},
    {'l', [](B& b) { b.PollPointer(false); }},
    {'s', [](B& b) { b.PollPointer(true); }},
    {'f', [](B& b) { b.GotFocus(); }},
    {'b', [](B& b) { b.LostFocus(); }},
    {'D', [](B& b) { b.MouseDown(MouseButton::Left); }},
    {'U', [](B& b) { b.MouseUp(MouseButton::Left); }},
    {'r', [](B& b) { b.MouseDown(MouseButton::Right); }},
    {'R', [](B& b) { b.MouseUp(MouseButton::Right); }},
    {'M', [](B& b) { b.MouseUp(MouseButton::Middle); }},
    {'z', [](B& b) { b.Resize(); }},
    {'e', [](B& b) { b.Enabled(false); }},
    {'E', [](B& b) { b.Enabled(true); }},
};

std::string Drive(B& b, RecordingSurface& s, const char* events) {
  for (const char* e = events; *e; ++e) kEvents.at (*e)(b);
  return s.Take();
}

// A button as the dialog has it after loading: stored, initialised.
struct Loaded {
  RecordingSurface surface;
  CommandButton button{surface};
  Loaded() {
    button.ReadProperties(StoredCommand(kCmdSetCaption), kAmbient);
    button.Initialize();
    surface.Take();
  }
  std::string Run(const char* events) { return Drive(button, surface, events); }
};

TEST(CommandButton, FollowsItsStateTableRowByRow) {
  constexpr std::uint8_t N = StateNormal, H = StateHover, F = StateFocus, FH = StateFocusHover;
  // "reversed": the hovered gradient. State 4 keeps the direction of its way in.
  // clang-format off
  const struct {
    const char *before, *events;
    std::uint8_t state;
    const char* effects;
    bool held;
  } rows[] = {
      {"", "m", H, "draw HighLight reversed", false},
      {"f", "m", FH, "draw HighLightSelect", false},
      {"fD", "m", F, "", true},
      {"fm", "m", FH, "", false},
      {"m", "l", N, "draw Normal", false},
      {"fm", "l", F, "draw Selected", false},
      {"f", "l", F, "", false},
      {"m", "s", H, "", false},
      {"", "f", F, "draw Selected", false},
      {"m", "f", FH, "draw Pressed reversed", false},
      {"fm", "f", F, "draw Selected", false},
      {"f", "b", N, "draw Normal", false},
      {"m", "b", N, "draw Normal", false},
      {"", "b", N, "", false},
      {"", "D", N, "draw Pressed", true},
      {"m", "D", H, "draw Pressed reversed", true},
      {"m", "r", H, "", false},
      {"mD", "U", H, "draw Normal reversed, click", false},
      {"fmD", "U", FH, "draw HighLightSelect, click", false},
      {"D", "U", N, "click", false},
      {"fD", "U", F, "", false},
      {"", "R", N, "click", false},
      {"fmD", "R", FH, "click", true},
      {"fm", "M", FH, "click", false},
      {"f", "R", F, "", false},
      {"f", "z", F, "draw Normal", false},
      {"", "mDfU", FH, "draw HighLight reversed, draw Pressed reversed, draw Pressed reversed, draw HighLightSelect reversed, click", false},
      {"fmD", "lmsU", F, "draw Selected", false},  // left while held: no highlight back, no click
      {"fmDlmsU", "m", FH, "draw HighLightSelect", false},
      // Disabled: the Disable face, and nothing else happens until enabled again.
      {"m", "e", H, "changed Enabled, draw Disable reversed", false},
      {"me", "mDfURlbz", H, "draw Disable reversed", false},
      {"me", "E", H, "changed Enabled, draw Normal reversed", false},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.before) + " then " + r.events);
    Loaded l;
    l.Run(r.before);
    EXPECT_EQ(l.Run(r.events), r.effects);
    EXPECT_EQ(l.button.State(), r.state);
    EXPECT_EQ(l.button.MouseHeld(), r.held);
  }
}

TEST(CommandButton, ReadsItsStoredPropertiesAndShowsTheCaptionGreyedWhileDisabled) {
  Loaded l;
  EXPECT_EQ(l.button.Caption(), "設定");
  EXPECT_EQ(std::make_pair(l.button.Font().face, l.button.Font().charset),
            std::make_pair(std::string("ＭＳ Ｐゴシック"), std::uint8_t{128}));
  l.Run("e");
  EXPECT_FALSE(l.button.CaptionEnabled());
  l.Run("E");
  EXPECT_TRUE(l.button.CaptionEnabled());
}

using Quad = std::array<int, 4>;
template <typename Rect>
Quad Q(const Rect& r) {
  return {r.x, r.y, r.width, r.height};
}
Quad Q(const GradientColour& c) { return {c.red, c.green, c.blue, c.alpha}; }

TEST(NineSlice, FramesA77By25PixelButton) {
  const NineSlice s = ComputeNineSlice(77 * kTwipsPerPixel, 25 * kTwipsPerPixel);
  // Destination and source in twips, destination in pixels; the centre (last) is never painted.
  const struct {
    const char* piece;
    Quad destination, source, pixels;
  } table[] = {
      {"top-left", {1, 1, 60, 60}, {0, 0, 60, 60}, {0, 0, 4, 4}},
      {"top", {60, 1, 1035, 60}, {60, 1, 840, 60}, {4, 0, 69, 4}},
      {"top-right", {1095, 1, 60, 60}, {900, 1, 60, 60}, {73, 0, 4, 4}},
      {"right", {1095, 60, 60, 255}, {900, 60, 60, 255}, {73, 4, 4, 17}},
      {"bottom-right", {1095, 315, 60, 60}, {900, 315, 60, 60}, {73, 21, 4, 4}},
      {"bottom", {60, 315, 1035, 60}, {60, 315, 840, 60}, {4, 21, 69, 4}},
      {"bottom-left", {1, 315, 60, 60}, {0, 315, 60, 60}, {0, 21, 4, 4}},
      {"left", {1, 60, 60, 255}, {1, 60, 60, 255}, {0, 4, 4, 17}},
      {"centre", {60, 60, 1035, 255}, {60, 60, 840, 255}, {4, 4, 69, 17}},
  };
  for (std::size_t i = 0; i < 9; ++i) {
    SCOPED_TRACE(table[i].piece);
    EXPECT_EQ(Q(s.pieces[i].destination), table[i].destination);
    EXPECT_EQ(Q(s.pieces[i].source), table[i].source);
    EXPECT_EQ(Q(ToPixels(s.pieces[i].destination)), table[i].pixels);
  }
  EXPECT_EQ(Q(ToPixels(TwipRect{7, 0, 16, 15})), (Quad{0, 0, 2, 1}));  // edges round, so pieces meet
  EXPECT_EQ(CaptionTop(375), 80.0);
  EXPECT_EQ(CaptionTop(316), 50.5);  // floating point, no rounding
}

TEST(Gradient, ColoursComeFromTheTwoTextConstantsAndSpanTheControl) {
  EXPECT_EQ(Q(ColourFromConstant(kGradientShade).value()), (Quad{0xC600, 0xC500, 0xD700, 0}));
  EXPECT_EQ(Q(ColourFromConstant(kGradientWhite).value()), (Quad{0xFF00, 0xFF00, 0xFF00, 0}));

  const GradientMesh idle = FillGradientMesh(false, 77, 25);
  EXPECT_EQ(idle.first, 1u);
  EXPECT_EQ(idle.second, 0u);
  EXPECT_EQ(idle.vertices[0].colour.red, 0xFF00);  // white at the top
  EXPECT_EQ(idle.vertices[1].colour.red, 0xC600);
  EXPECT_EQ((Quad{idle.vertices[0].x, idle.vertices[0].y, idle.vertices[1].x, idle.vertices[1].y}),
            (Quad{0, 0, 76, 24}));
  const GradientMesh hover = FillGradientMesh(true, 77, 25);
  EXPECT_EQ(hover.vertices[0].colour.blue, 0xD700);  // white at the bottom
  EXPECT_EQ(hover.vertices[1].colour.blue, 0xFF00);
}

}  // namespace
}  // namespace hz::controls
