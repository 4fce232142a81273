#include "controls/command_model.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "settings_dialog_model.h"

namespace hz::controls {
namespace {

using Log = std::vector<std::string>;

// Records what the button asks of its window, one line per request.
class RecordingSurface final : public CommandSurface {
 public:
  void DrawFace(Face face, bool hoverGradient) override {
    static const char* const names[] = {"Normal",   "HighLight", "HighLightSelect",
                                        "Selected", "Pressed",   "Disable"};
    log.push_back(std::string("draw ") + names[static_cast<int>(face)] + (hoverGradient ? " reversed" : ""));
  }
  void PropertyChanged(std::string_view name) override { log.push_back("changed " + std::string(name)); }
  void StartLeavePolling(unsigned ms) override { log.push_back("poll " + std::to_string(ms)); }
  void Click() override { log.push_back("click"); }

  Log Take() { return std::exchange(log, {}); }
  Log log;
};

const FontDescription kAmbient{"Ambient", 9.75, 400, false, false, false, 128};

// A button as the dialog has it after loading: stored, initialised.
struct Loaded {
  RecordingSurface surface;
  CommandButton button{surface};
  Loaded() {
    button.ReadProperties(StoredCommand(kCmdSetCaption), kAmbient);
    button.Initialize();
    surface.Take();
  }
  Log Run(std::initializer_list<void (*)(CommandButton&)> actions) {
    for (auto action : actions) action(button);
    return surface.Take();
  }
};

using Action = void (*)(CommandButton&);
const Action kMove = [](CommandButton& b) { b.MouseMove(); };
const Action kLeave = [](CommandButton& b) { b.PollPointer(false); };
const Action kStay = [](CommandButton& b) { b.PollPointer(true); };
const Action kFocus = [](CommandButton& b) { b.GotFocus(); };
const Action kBlur = [](CommandButton& b) { b.LostFocus(); };
const Action kLeftDown = [](CommandButton& b) { b.MouseDown(MouseButton::Left); };
const Action kRightDown = [](CommandButton& b) { b.MouseDown(MouseButton::Right); };
const Action kLeftUp = [](CommandButton& b) { b.MouseUp(MouseButton::Left); };
const Action kRightUp = [](CommandButton& b) { b.MouseUp(MouseButton::Right); };
const Action kMiddleUp = [](CommandButton& b) { b.MouseUp(MouseButton::Middle); };
const Action kResize = [](CommandButton& b) { b.Resize(); };

TEST(CommandButton, FollowsItsStateTableRowByRow) {
  constexpr std::uint8_t N = StateNormal, H = StateHover, F = StateFocus, FH = StateFocusHover;
  const struct {
    const char* name;
    std::uint8_t state;
    bool held;
    Action action;
    std::uint8_t newState;
    Log effects;
    bool heldAfter;
  } rows[] = {
      // "reversed": the hovered gradient. State 4 keeps the direction of its way in.
      {"move, idle", N, false, kMove, H, {"draw HighLight reversed"}, false},
      {"move, focused", F, false, kMove, FH, {"draw HighLightSelect"}, false},
      {"move, focused and held", F, true, kMove, F, {}, true},
      {"move, state 4", FH, false, kMove, FH, {}, false},
      {"left, hovered", H, false, kLeave, N, {"draw Normal"}, false},
      {"left, state 4", FH, false, kLeave, F, {"draw Selected"}, false},
      {"left, focused", F, false, kLeave, F, {}, false},
      {"pointer still over it", H, false, kStay, H, {}, false},
      {"focus, idle", N, false, kFocus, F, {"draw Selected"}, false},
      {"focus, hovered", H, false, kFocus, FH, {"draw Pressed reversed"}, false},
      {"focus, state 4", FH, false, kFocus, F, {"draw Selected"}, false},
      {"focus lost, focused", F, false, kBlur, N, {"draw Normal"}, false},
      {"focus lost, hovered", H, false, kBlur, N, {"draw Normal"}, false},
      {"focus lost, idle", N, false, kBlur, N, {}, false},
      {"left press, idle", N, false, kLeftDown, N, {"draw Pressed"}, true},
      {"left press, hovered", H, false, kLeftDown, H, {"draw Pressed reversed"}, true},
      {"right press", H, false, kRightDown, H, {}, false},
      {"left release, hovered", H, true, kLeftUp, H, {"draw Normal reversed", "click"}, false},
      {"left release, state 4", FH, true, kLeftUp, FH, {"draw HighLightSelect", "click"}, false},
      {"left release, idle", N, true, kLeftUp, N, {"click"}, false},
      {"left release, focused: no click", F, true, kLeftUp, F, {}, false},
      {"right release, idle", N, false, kRightUp, N, {"click"}, false},
      {"right release keeps the left held", FH, true, kRightUp, FH, {"click"}, true},
      {"middle release, state 4", FH, false, kMiddleUp, FH, {"click"}, false},
      {"right release, focused: no click", F, false, kRightUp, F, {}, false},
      {"resize", F, false, kResize, F, {"draw Normal"}, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Loaded l;
    // Into the row's state by the events a user would cause.
    if (r.state == H) l.Run({kMove});
    if (r.state == F) l.Run({kFocus});
    if (r.state == FH) l.Run({kFocus, kMove});
    if (r.held) l.Run({kLeftDown});
    ASSERT_EQ(l.button.State(), r.state);
    EXPECT_EQ(l.Run({r.action}), r.effects);
    EXPECT_EQ(l.button.State(), r.newState);
    EXPECT_EQ(l.button.MouseHeld(), r.heldAfter);
  }
}

TEST(CommandButton, ClickSequences) {
  Loaded usual;  // on an unfocused button
  EXPECT_EQ(usual.Run({kMove, kLeftDown, kFocus, kLeftUp}),
            (Log{"draw HighLight reversed", "draw Pressed reversed", "draw Pressed reversed",
                 "draw HighLightSelect reversed", "click"}));
  EXPECT_EQ(usual.button.State(), StateFocusHover);

  // Pressed, pointer off and back while held: no highlight, and no click on release.
  Loaded away;
  away.Run({kFocus, kMove, kLeftDown});
  EXPECT_EQ(away.Run({kLeave, kMove, kStay, kLeftUp}), (Log{"draw Selected"}));
  EXPECT_EQ(away.button.State(), StateFocus);
  away.Run({kMove});
  EXPECT_EQ(away.button.State(), StateFocusHover) << "once released, it highlights again";
}

TEST(CommandButton, ShowsTheDialogsStoredCaptionInTheJapaneseFont) {
  const Loaded l;
  EXPECT_EQ(l.button.Caption(), "設定");
  EXPECT_EQ(l.button.Font().face, "ＭＳ Ｐゴシック");
  EXPECT_EQ(l.button.Font().charset, 128);
}

TEST(CommandButton, ADisabledButtonShowsDisableAndNeverClicks) {
  Loaded l;
  l.Run({kMove});
  l.button.Enabled(false);
  EXPECT_EQ(l.surface.Take(), (Log{"changed Enabled", "draw Disable reversed"}));
  EXPECT_FALSE(l.button.CaptionEnabled());
  EXPECT_EQ(l.Run({kMove, kLeftDown, kFocus, kLeftUp, kRightUp, kLeave, kBlur}), Log{});
  EXPECT_EQ(l.button.State(), StateHover);
  EXPECT_EQ(l.Run({kResize}), (Log{"draw Disable reversed"}));
  l.button.Enabled(true);
  EXPECT_EQ(l.surface.Take(), (Log{"changed Enabled", "draw Normal reversed"}));
  EXPECT_TRUE(l.button.CaptionEnabled());
}

TEST(CommandButton, ANewButtonWaitsForInitializeAndForEnabled) {
  RecordingSurface s;
  CommandButton fresh(s);  // never stored: Enabled is false until first read
  fresh.Initialize();
  EXPECT_EQ(s.Take(), (Log{"poll 100"}));
  fresh.MouseMove();
  fresh.GotFocus();
  fresh.MouseUp(MouseButton::Left);
  EXPECT_EQ(s.Take(), Log{});
  EXPECT_TRUE(fresh.Enabled());
  EXPECT_EQ(s.Take(), (Log{"draw Normal"}));  // the RefreshCaption before it did nothing
  fresh.MouseMove();
  EXPECT_EQ(fresh.State(), StateHover);

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
  EXPECT_EQ(l.Run({kRightUp}), (Log{"click"}));
  l.button.Visible(7);
  EXPECT_EQ(l.surface.Take(), (Log{"draw Normal", "changed Visible"}));
}

}  // namespace
}  // namespace hz::controls
