#include "controls/command_model.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "controls/command_face.h"

namespace hz::controls {
namespace {

const char* FaceName(Face f) {
  static const char* const names[] = {"Normal",   "HighLight", "HighLightSelect",
                                      "Selected", "Pressed",   "Disable"};
  return names[static_cast<int>(f)];
}

// Records what the button asks of its window, one line per request.
class RecordingSurface final : public CommandSurface {
 public:
  void DrawFace(Face face, bool hoverGradient) override {
    log.push_back(std::string("draw ") + FaceName(face) + (hoverGradient ? " reversed" : ""));
  }
  void PropertyChanged(std::string_view name) override { log.push_back("changed " + std::string(name)); }
  void StartLeavePolling(unsigned ms) override { log.push_back("poll " + std::to_string(ms)); }
  void Click() override { log.push_back("click"); }

  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(log);
    return out;
  }
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

FontDescription Ambient() {
  FontDescription f;
  f.face = "Ambient";
  f.points = 9;
  f.charset = 128;
  return f;
}

// A button as the dialog has it after loading: stored, initialised.
struct Loaded {
  RecordingSurface surface;
  CommandButton button{surface};
  Loaded() {
    button.ReadProperties(PropertyBag{{"caption", std::string("OK")}}, Ambient());
    button.Initialize();
    surface.Take();
  }
};

enum class Trigger {
  Move,
  LeavePoll,
  StayPoll,
  GotFocus,
  LostFocus,
  LeftDown,
  RightDown,
  LeftUp,
  RightUp,
  MiddleUp,
  Resize
};

// clang-format off
void Fire(CommandButton& b, Trigger t) {
  switch (t) {
    case Trigger::Move: b.MouseMove(); break;
    case Trigger::LeavePoll: b.PollPointer(false); break;
    case Trigger::StayPoll: b.PollPointer(true); break;
    case Trigger::GotFocus: b.GotFocus(); break;
    case Trigger::LostFocus: b.LostFocus(); break;
    case Trigger::LeftDown: b.MouseDown(MouseButton::Left); break;
    case Trigger::RightDown: b.MouseDown(MouseButton::Right); break;
    case Trigger::LeftUp: b.MouseUp(MouseButton::Left); break;
    case Trigger::RightUp: b.MouseUp(MouseButton::Right); break;
    case Trigger::MiddleUp: b.MouseUp(MouseButton::Middle); break;
    case Trigger::Resize: b.Resize(); break;
  }
}
// clang-format on

// Brings a loaded button into `state` (and holds the left button) by the
// events a user would cause.
void Prepare(Loaded& l, std::uint8_t state, bool held) {
  CommandButton& b = l.button;
  if (state == StateHover) b.MouseMove();
  if (state == StateFocus) b.GotFocus();
  if (state == StateFocusHover) {
    b.GotFocus();
    b.MouseMove();
  }
  if (held) b.MouseDown(MouseButton::Left);
  ASSERT_EQ(b.State(), state);
  ASSERT_EQ(b.MouseHeld(), held);
  l.surface.Take();
}

struct Row {
  const char* name;
  std::uint8_t state;
  bool held;
  Trigger trigger;
  std::uint8_t newState;
  Log effects;
  bool heldAfter;
};

TEST(CommandButton, FollowsItsStateTableRowByRow) {
  // clang-format off
  const Row rows[] = {
      {"move over an idle button", StateNormal, false, Trigger::Move, StateHover, {"draw HighLight reversed"}, false},
      {"move over a focused button", StateFocus, false, Trigger::Move, StateFocusHover, {"draw HighLightSelect"}, false},
      {"move over a focused button while held", StateFocus, true, Trigger::Move, StateFocus, {}, true},
      {"move over a hovered button", StateHover, false, Trigger::Move, StateHover, {}, false},
      {"move in state 4", StateFocusHover, false, Trigger::Move, StateFocusHover, {}, false},
      {"pointer left a hovered button", StateHover, false, Trigger::LeavePoll, StateNormal, {"draw Normal"}, false},
      {"pointer left a focused hovered button", StateFocusHover, false, Trigger::LeavePoll, StateFocus,
       {"draw Selected"}, false},
      {"pointer left while held", StateFocusHover, true, Trigger::LeavePoll, StateFocus, {"draw Selected"}, true},
      {"poll in state 1", StateNormal, false, Trigger::LeavePoll, StateNormal, {}, false},
      {"poll in state 3", StateFocus, false, Trigger::LeavePoll, StateFocus, {}, false},
      {"poll with the pointer still over it", StateHover, false, Trigger::StayPoll, StateHover, {}, false},
      {"focus on an idle button", StateNormal, false, Trigger::GotFocus, StateFocus, {"draw Selected"}, false},
      {"focus on a hovered button", StateHover, false, Trigger::GotFocus, StateFocusHover,
       {"draw Pressed reversed"}, false},
      {"focus again in state 4", StateFocusHover, false, Trigger::GotFocus, StateFocus, {"draw Selected"}, false},
      {"focus lost in state 3", StateFocus, false, Trigger::LostFocus, StateNormal, {"draw Normal"}, false},
      {"focus lost in state 4", StateFocusHover, false, Trigger::LostFocus, StateNormal, {"draw Normal"}, false},
      {"focus lost in state 2", StateHover, false, Trigger::LostFocus, StateNormal, {"draw Normal"}, false},
      {"focus lost in state 1", StateNormal, false, Trigger::LostFocus, StateNormal, {}, false},
      {"left press, idle", StateNormal, false, Trigger::LeftDown, StateNormal, {"draw Pressed"}, true},
      {"left press, hovered", StateHover, false, Trigger::LeftDown, StateHover, {"draw Pressed reversed"}, true},
      {"left press, focused", StateFocus, false, Trigger::LeftDown, StateFocus, {"draw Pressed"}, true},
      {"right press changes nothing", StateHover, false, Trigger::RightDown, StateHover, {}, false},
      {"left release, hovered", StateHover, true, Trigger::LeftUp, StateHover, {"draw Normal reversed", "click"},
       false},
      {"left release, state 4", StateFocusHover, true, Trigger::LeftUp, StateFocusHover,
       {"draw HighLightSelect", "click"}, false},
      {"left release, idle", StateNormal, true, Trigger::LeftUp, StateNormal, {"click"}, false},
      {"left release, state 3: no click", StateFocus, true, Trigger::LeftUp, StateFocus, {}, false},
      {"right release clicks", StateNormal, false, Trigger::RightUp, StateNormal, {"click"}, false},
      {"middle release clicks", StateFocusHover, false, Trigger::MiddleUp, StateFocusHover, {"click"}, false},
      {"right release keeps the left button held", StateFocusHover, true, Trigger::RightUp, StateFocusHover,
       {"click"}, true},
      {"right release in state 3: no click", StateFocus, false, Trigger::RightUp, StateFocus, {}, false},
      {"resize redraws the enabled look", StateFocus, false, Trigger::Resize, StateFocus, {"draw Normal"}, false},
  };
  // clang-format on
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Loaded l;
    Prepare(l, r.state, r.held);
    Fire(l.button, r.trigger);
    EXPECT_EQ(l.button.State(), r.newState);
    EXPECT_EQ(l.surface.Take(), r.effects);
    EXPECT_EQ(l.button.MouseHeld(), r.heldAfter);
  }
}

TEST(CommandButton, TheUsualClickOnAnUnfocusedButton) {
  Loaded l;
  l.button.MouseMove();
  l.button.MouseDown(MouseButton::Left);
  l.button.GotFocus();
  l.button.MouseUp(MouseButton::Left);
  EXPECT_EQ(l.surface.Take(), (Log{"draw HighLight reversed", "draw Pressed reversed",
                                   "draw Pressed reversed", "draw HighLightSelect reversed", "click"}));
  EXPECT_EQ(l.button.State(), StateFocusHover);
  EXPECT_FALSE(l.button.MouseHeld());
}

TEST(CommandButton, PressOnAFocusedButtonClicks) {
  Loaded l;
  l.button.GotFocus();
  l.button.MouseMove();
  l.button.MouseDown(MouseButton::Left);
  l.button.PollPointer(true);
  l.button.MouseUp(MouseButton::Left);
  EXPECT_EQ(l.surface.Take(),
            (Log{"draw Selected", "draw HighLightSelect", "draw Pressed", "draw HighLightSelect", "click"}));
}

TEST(CommandButton, LeavingAndReturningWhileHeldDoesNotClick) {
  Loaded l;
  l.button.GotFocus();
  l.button.MouseMove();
  l.button.MouseDown(MouseButton::Left);
  l.surface.Take();
  l.button.PollPointer(false);  // the pointer has gone
  l.button.MouseMove();         // and is back, the button still held
  l.button.PollPointer(true);
  l.button.MouseUp(MouseButton::Left);
  EXPECT_EQ(l.surface.Take(), (Log{"draw Selected"}));
  EXPECT_EQ(l.button.State(), StateFocus);
  // Once released, coming back over it highlights again.
  l.button.MouseMove();
  EXPECT_EQ(l.button.State(), StateFocusHover);
}

TEST(CommandButton, ADisabledButtonShowsDisableAndNeverClicks) {
  Loaded l;
  l.button.MouseMove();
  l.surface.Take();
  l.button.Enabled(false);
  EXPECT_EQ(l.surface.Take(), (Log{"changed Enabled", "draw Disable reversed"}));
  EXPECT_FALSE(l.button.CaptionEnabled());
  for (Trigger t : {Trigger::Move, Trigger::LeftDown, Trigger::GotFocus, Trigger::LeftUp, Trigger::RightUp,
                    Trigger::LeavePoll, Trigger::LostFocus})
    Fire(l.button, t);
  EXPECT_TRUE(l.surface.Take().empty());
  EXPECT_EQ(l.button.State(), StateHover);
  l.button.Resize();
  EXPECT_EQ(l.surface.Take(), (Log{"draw Disable reversed"}));

  l.button.Enabled(true);
  EXPECT_EQ(l.surface.Take(), (Log{"changed Enabled", "draw Normal reversed"}));
  EXPECT_TRUE(l.button.CaptionEnabled());
}

TEST(CommandButton, StateFourKeepsTheGradientOfTheWayIn) {
  // From state 3 (focused, then the pointer arrives): white at the top.
  Loaded fromFocus;
  fromFocus.button.GotFocus();
  fromFocus.button.MouseMove();
  EXPECT_EQ(fromFocus.button.State(), StateFocusHover);
  EXPECT_FALSE(fromFocus.button.HoverGradient());
  // From state 2 (hovered, then focused): white at the bottom.
  Loaded fromHover;
  fromHover.button.MouseMove();
  fromHover.button.GotFocus();
  EXPECT_EQ(fromHover.button.State(), StateFocusHover);
  EXPECT_TRUE(fromHover.button.HoverGradient());

  const GradientColour white{0xFF00, 0xFF00, 0xFF00, 0};
  const GradientMesh topWhite = FillGradientMesh(fromFocus.button.HoverGradient(), 77, 25);
  const GradientMesh bottomWhite = FillGradientMesh(fromHover.button.HoverGradient(), 77, 25);
  EXPECT_EQ(topWhite.vertices[0].colour.red, white.red);
  EXPECT_EQ(topWhite.vertices[1].colour.red, 0xC600);
  EXPECT_EQ(bottomWhite.vertices[0].colour.red, 0xC600);
  EXPECT_EQ(bottomWhite.vertices[1].colour.blue, white.blue);
}

TEST(CommandButton, BeforeInitializeItNeitherHighlightsNorPolls) {
  RecordingSurface s;
  CommandButton b(s);
  b.ReadProperties(PropertyBag{}, Ambient());
  s.Take();
  b.MouseMove();
  EXPECT_EQ(b.State(), StateNone);
  EXPECT_FALSE(b.Polling());
  // Focus gained and lost gives state 1, which highlights...
  b.GotFocus();
  b.LostFocus();
  b.MouseMove();
  EXPECT_EQ(b.State(), StateHover);
  s.Take();
  b.Initialize();
  EXPECT_EQ(s.Take(), (Log{"poll 100"}));
  EXPECT_EQ(b.State(), StateNormal);
}

TEST(CommandButton, ANeverStoredButtonWakesOnTheFirstReadOfEnabled) {
  RecordingSurface s;
  CommandButton b(s);
  EXPECT_EQ(b.Caption(), "Command");
  EXPECT_FALSE(b.IsEnabled());
  b.Initialize();
  s.Take();
  b.MouseMove();
  b.GotFocus();
  b.MouseUp(MouseButton::Left);
  EXPECT_TRUE(s.Take().empty());

  EXPECT_TRUE(b.Enabled());
  // The RefreshCaption that runs first does nothing: Enabled was still false.
  EXPECT_EQ(s.Take(), (Log{"draw Normal"}));
  EXPECT_EQ(b.FirstRun(), 1);
  b.MouseMove();
  EXPECT_EQ(b.State(), StateHover);
}

TEST(CommandButton, ReadingPropertiesRepaintsWithoutChangingState) {
  Loaded l;
  l.button.MouseMove();
  l.surface.Take();
  EXPECT_TRUE(l.button.Enabled());
  EXPECT_EQ(l.button.FontColour(), 0u);
  EXPECT_EQ(l.button.Visible(), 255);
  EXPECT_EQ(l.surface.Take(), (Log{"draw Normal reversed", "draw Normal reversed", "draw Normal reversed"}));
  EXPECT_EQ(l.button.State(), StateHover);
  l.button.Caption("x");
  EXPECT_EQ(l.surface.Take(), (Log{"changed Caption"}));
}

TEST(CommandButton, TransparentBackgroundHidesOnlyTheFace) {
  Loaded l;
  l.button.Visible(0);
  EXPECT_EQ(l.surface.Take(), (Log{"changed Visible"}));
  EXPECT_FALSE(l.button.Opaque());
  EXPECT_EQ(l.button.Visible(), 0);
  EXPECT_TRUE(l.surface.Take().empty());
  l.button.MouseMove();
  l.button.MouseUp(MouseButton::Right);
  EXPECT_EQ(l.surface.Take().back(), "click");
  l.button.Visible(7);
  EXPECT_TRUE(l.button.Opaque());
  EXPECT_EQ(l.surface.Take(), (Log{"draw Normal reversed", "changed Visible"}));
}

TEST(CommandButton, SavedPropertiesUseTheirTwoKindsOfDefaults) {
  RecordingSurface s;
  CommandButton b(s);
  b.ReadProperties(PropertyBag{}, Ambient());
  EXPECT_TRUE(b.IsEnabled());
  EXPECT_EQ(b.Caption(), "Command1");
  EXPECT_EQ(b.Font(), Ambient());
  EXPECT_EQ(b.FirstRun(), 1);
  EXPECT_EQ(b.CaptionColour(), 0u);
  EXPECT_TRUE(b.Opaque());

  // "Command" equals the default when writing, so it is not stored and
  // comes back as "Command1".
  b.Caption("Command");
  PropertyBag bag;
  b.WriteProperties(bag, Ambient());
  EXPECT_EQ(bag.Size(), 0u);
  CommandButton again(s);
  again.ReadProperties(bag, Ambient());
  EXPECT_EQ(again.Caption(), "Command1");

  // Everything away from its default is stored and read back.
  FontDescription bold = Ambient();
  bold.weight = 700;
  b.Caption("OK");
  b.Font(bold);
  b.FontColour(0xFF);
  b.Visible(0);
  b.Enabled(false);
  b.WriteProperties(bag, Ambient());
  EXPECT_EQ(bag.Size(), 5u);  // all but FirstRun
  EXPECT_FALSE(bag.Contains("FirstRun"));
  CommandButton copy(s);
  copy.ReadProperties(bag, FontDescription{});
  EXPECT_FALSE(copy.IsEnabled());
  EXPECT_EQ(copy.Caption(), "OK");
  EXPECT_EQ(copy.Font(), bold);
  EXPECT_EQ(copy.CaptionColour(), 0xFFu);
  EXPECT_FALSE(copy.Opaque());
}

TEST(CommandButton, AStoredFirstRunOfZeroResetsTheCaptionColour) {
  RecordingSurface s;
  CommandButton b(s);
  b.ReadProperties(PropertyBag{{"FIRSTRUN", std::uint8_t{0}}, {"fontcolour", std::uint32_t{0xFF}}},
                   Ambient());
  EXPECT_EQ(b.FirstRun(), 0);
  EXPECT_EQ(b.CaptionColour(), 0u);  // names match without regard to case
  EXPECT_TRUE(b.Enabled());
  EXPECT_EQ(b.FirstRun(), 1);
  b.FontColour(0xFF);
  EXPECT_EQ(b.FontColour(), 0xFFu);
}

TEST(PropertyBag, StoresOnlyValuesAwayFromTheDefault) {
  PropertyBag bag;
  bag.WriteProperty("Caption", std::string("a"), std::string("Command"));
  EXPECT_EQ(bag.ReadProperty<std::string>("CAPTION", "x"), "a");
  bag.WriteProperty("caption", std::string("Command"), std::string("Command"));
  EXPECT_FALSE(bag.Contains("Caption"));
  // A stored value that happens to equal some other default is still stored.
  const PropertyBag stored{{"Enabled", false}};
  EXPECT_FALSE(stored.ReadProperty("enabled", true));
  // A value stored as another type reads as the default.
  bag.WriteProperty("Visible", std::uint32_t{0}, std::int16_t{1});
  EXPECT_EQ(bag.ReadProperty("Visible", std::int16_t{1}), 1);
}

}  // namespace
}  // namespace hz::controls
