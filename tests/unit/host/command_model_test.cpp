#include "controls/command_model.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

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

// One letter per event: m move, l left, s stays over, f focus, b blur, D/U left down/up,
// r/R right down/up, M middle up, z resize. Returns what the button asked for.
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

TEST(CommandButton, ADisabledButtonShowsDisableAndNeverClicks) {
  Loaded l;
  EXPECT_EQ(l.button.Caption(), "設定");
  EXPECT_EQ(std::make_pair(l.button.Font().face, l.button.Font().charset),
            std::make_pair(std::string("ＭＳ Ｐゴシック"), std::uint8_t{128}));
  l.Run("m");
  l.button.Enabled(false);
  EXPECT_EQ(l.surface.Take(), "changed Enabled, draw Disable reversed");
  EXPECT_FALSE(l.button.CaptionEnabled());
  EXPECT_EQ(l.Run("mDfURlb"), "");
  EXPECT_EQ(l.button.State(), StateHover);
  EXPECT_EQ(l.Run("z"), "draw Disable reversed");
  l.button.Enabled(true);
  EXPECT_EQ(l.surface.Take(), "changed Enabled, draw Normal reversed");
  EXPECT_TRUE(l.button.CaptionEnabled());
}

TEST(CommandButton, ANewButtonWaitsForInitializeAndForEnabled) {
  RecordingSurface s;
  CommandButton fresh(s);  // never stored: Enabled is false until first read
  fresh.Initialize();
  EXPECT_EQ(Drive(fresh, s, "mfU"), "poll 100");
  EXPECT_TRUE(fresh.Enabled());
  EXPECT_EQ(Drive(fresh, s, "m"), "draw Normal, draw HighLight reversed");

  CommandButton stored(s);
  stored.ReadProperties(PropertyBag{}, kAmbient);
  EXPECT_EQ(stored.Caption(), "Command1");
  EXPECT_EQ(stored.Font(), kAmbient);
  stored.MouseMove();
  EXPECT_EQ(stored.State(), StateNone) << "before Initialize, state 0 matches no row";

  // A stored FirstRun of 0 resets the caption colour; names match in any case.
  CommandButton first(s);
  first.ReadProperties(PropertyBag{{"FIRSTRUN", std::uint8_t{0}}, {"fontcolour", std::uint32_t{0xFF}}},
                       kAmbient);
  EXPECT_EQ(first.CaptionColour(), 0u);
}

TEST(CommandButton, SavesOnlyWhatDiffersFromTheDefaultsAndKeepsTheCaptionClickable) {
  Loaded l;
  l.button.Caption("Command");  // the default when writing: not stored, so read back as "Command1"
  PropertyBag bag;
  l.button.WriteProperties(bag, DialogFont());
  EXPECT_EQ(bag.Size(), 0u);
  // A transparent background hides only the face: the caption still clicks.
  l.button.Visible(0);
  EXPECT_EQ(l.button.Visible(), 0);
  l.surface.Take();
  EXPECT_EQ(l.Run("R"), "click");
  l.button.Visible(7);
  EXPECT_EQ(l.surface.Take(), "draw Normal, changed Visible");
}

}  // namespace
}  // namespace hz::controls
