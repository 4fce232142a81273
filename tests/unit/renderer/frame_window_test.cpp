#include "frame_window.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace hz {
namespace {

constexpr unsigned kWmMouseMove = 0x0200;
constexpr unsigned kWmLButtonDown = 0x0201;
constexpr unsigned kWmPaint = 0x000F;
constexpr std::uintptr_t kScClose = 0xF060;
constexpr std::uintptr_t kMinimized = 0x10000;  // WM_ACTIVATE's high word: the window is minimized

std::intptr_t SizeParam(int width, int height) { return static_cast<std::intptr_t>(width | (height << 16)); }

// --- the window procedure's decisions

struct MessageCase {
  const char* name;
  unsigned message;
  std::uintptr_t wParam;
  MessageAction expected;
};

TEST(FrameMessages, EachMessageGetsItsAction) {
  const MessageCase cases[] = {
      {"close request posts quit", kWmClose, 0, MessageAction::kQuit},
      {"screensaver start swallowed", kWmSysCommand, kScScreenSave, MessageAction::kHandled},
      {"monitor power-off swallowed", kWmSysCommand, kScMonitorPower, MessageAction::kHandled},
      {"system command's own low bits ignored", kWmSysCommand, kScScreenSave | 0x2, MessageAction::kHandled},
      {"Alt+F4's close command goes to the default", kWmSysCommand, kScClose, MessageAction::kDefault},
      {"key down handled", kWmKeyDown, 'A', MessageAction::kHandled},
      {"key up handled", kWmKeyUp, 'A', MessageAction::kHandled},
      {"activation handled", kWmActivate, 1, MessageAction::kHandled},
      {"mouse movement is not ours", kWmMouseMove, 0, MessageAction::kDefault},
      {"clicks are not ours", kWmLButtonDown, 1, MessageAction::kDefault},
      {"painting is not ours", kWmPaint, 0, MessageAction::kDefault},
  };
  for (const MessageCase& c : cases) {
    FrameState state;
    EXPECT_EQ(HandleFrameMessage(state, c.message, c.wParam, 0).action, c.expected) << c.name;
  }
}

TEST(FrameMessages, SizeHandsOverWidthAndHeightEvenWhenTheHeightIsZero) {
  FrameState state;
  MessageOutcome out = HandleFrameMessage(state, kWmSize, 0, SizeParam(1024, 768));
  EXPECT_EQ(out.action, MessageAction::kResize);
  EXPECT_EQ(out.width, 1024);
  EXPECT_EQ(out.height, 768);

  out = HandleFrameMessage(state, kWmSize, 0, SizeParam(640, 0));
  EXPECT_EQ(out.action, MessageAction::kResize);
  EXPECT_EQ(out.width, 640);
  EXPECT_EQ(out.height, 0);  // ResizeView takes it as 1
}

TEST(FrameMessages, KeysAreHeldBetweenDownAndUpWithinTheTable) {
  FrameState state;
  HandleFrameMessage(state, kWmKeyDown, 0x41, 0);
  HandleFrameMessage(state, kWmKeyDown, 255, 0);
  EXPECT_TRUE(state.Keys[0x41]);
  EXPECT_TRUE(state.Keys[255]);
  HandleFrameMessage(state, kWmKeyUp, 0x41, 0);
  EXPECT_FALSE(state.Keys[0x41]);
  // Codes beyond the table are ignored rather than written past it.
  FrameState other;
  HandleFrameMessage(other, kWmKeyDown, 256, 0);
  HandleFrameMessage(other, kWmKeyDown, 0x1001B, 0);
  for (bool held : other.Keys) EXPECT_FALSE(held);
}

TEST(FrameMessages, OnlyMinimizingStopsTheFrames) {
  FrameState state;
  HandleFrameMessage(state, kWmActivate, 0, 0);  // WA_INACTIVE, not minimized: focus lost
  EXPECT_TRUE(state.Active);
  HandleFrameMessage(state, kWmActivate, kMinimized | 0, 0);
  EXPECT_FALSE(state.Active);
  EXPECT_EQ(OnIdle(state), IdleAction::kWait);
  HandleFrameMessage(state, kWmActivate, 1, 0);  // WA_ACTIVE, restored
  EXPECT_TRUE(state.Active);
}

// --- the loop, with a queue scripted the way the system would fill it

class ScriptedPump final : public MessagePump {
 public:
  explicit ScriptedPump(FrameState& state) : state_(state) {}

  // Messages that arrive before the loop's next look at the queue.
  void Arrive(unsigned message, std::uintptr_t wParam = 0) { queue_.push_back({message, wParam}); }
  // After this many idle passes a close request arrives (ends runaway loops too).
  int closeAfterIdle = 1000;

  bool Peek(QueuedMessage* message) override {
    if (queue_.empty()) {
      if (++idlePeeks_ == closeAfterIdle) Arrive(kWmClose);
      if (idlePeeks_ > 100000) Arrive(kWmQuit, 99);
      if (queue_.empty()) return false;
    }
    current_ = queue_.front();
    queue_.pop_front();
    *message = current_;
    return true;
  }
  void Dispatch() override {
    dispatched.push_back(current_.message);
    const MessageOutcome out = HandleFrameMessage(state_, current_.message, current_.wParam, 0);
    if (out.action == MessageAction::kQuit) Arrive(kWmQuit, 0);
  }
  void DrawAndSwap() override { ++frames; }

  int frames = 0;
  std::vector<unsigned> dispatched;
  int IdlePeeks() const { return idlePeeks_; }

 private:
  FrameState& state_;
  std::deque<QueuedMessage> queue_;
  QueuedMessage current_;
  int idlePeeks_ = 0;
};

TEST(FrameLoop, DrawsWhileIdleUntilTheCloseRequest) {
  FrameState state;
  ScriptedPump pump(state);
  pump.closeAfterIdle = 5;
  EXPECT_EQ(RunFrameLoop(pump, state), 0);
  EXPECT_EQ(pump.frames, 4);  // the fifth idle look finds the close request
  EXPECT_EQ(pump.dispatched, std::vector<unsigned>{kWmClose});
}

TEST(FrameLoop, EscapeEndsOnTheNextIdlePassNotWhileTheQueueIsBusy) {
  FrameState state;
  ScriptedPump pump(state);
  pump.Arrive(kWmKeyDown, kVkEscape);
  pump.Arrive(kWmMouseMove);
  pump.Arrive(kWmPaint);
  RunFrameLoop(pump, state);
  EXPECT_EQ(pump.frames, 0);
  EXPECT_EQ(pump.dispatched, (std::vector<unsigned>{kWmKeyDown, kWmMouseMove, kWmPaint}));
  EXPECT_EQ(pump.IdlePeeks(), 1);
}

TEST(FrameLoop, EscapeReleasedBeforeTheIdlePassIsCancelled) {
  FrameState state;
  ScriptedPump pump(state);
  pump.Arrive(kWmKeyDown, kVkEscape);
  pump.Arrive(kWmKeyUp, kVkEscape);
  pump.closeAfterIdle = 3;
  EXPECT_EQ(RunFrameLoop(pump, state), 0);
  EXPECT_EQ(pump.frames, 2);  // kept drawing until the close request
}

TEST(FrameLoop, WhileMinimizedEscapeIsIgnoredButACloseRequestEnds) {
  FrameState state;
  ScriptedPump pump(state);
  pump.Arrive(kWmActivate, kMinimized);
  pump.Arrive(kWmKeyDown, kVkEscape);
  pump.closeAfterIdle = 50;
  EXPECT_EQ(RunFrameLoop(pump, state), 0);
  EXPECT_EQ(pump.frames, 0);
  EXPECT_EQ(pump.IdlePeeks(), 50);  // polled on without leaving
  EXPECT_EQ(pump.dispatched.back(), kWmClose);
}

TEST(FrameLoop, EscapeHeldWhileMinimizedEndsOnceTheWindowIsBack) {
  FrameState state;
  ScriptedPump pump(state);
  pump.Arrive(kWmActivate, kMinimized);
  pump.Arrive(kWmKeyDown, kVkEscape);
  pump.Arrive(kWmActivate, 1);
  RunFrameLoop(pump, state);
  EXPECT_EQ(pump.IdlePeeks(), 1);
  EXPECT_EQ(pump.frames, 0);
}

TEST(FrameLoop, AQuitPostedByAnyoneEndsWithItsCode) {
  FrameState state;
  ScriptedPump pump(state);
  pump.Arrive(kWmQuit, 7);
  EXPECT_EQ(RunFrameLoop(pump, state), 7);
  EXPECT_TRUE(pump.dispatched.empty());  // the quit message itself is never dispatched
}

// --- opening and closing: the order of the steps

class RecordingPlatform final : public RenderWindowPlatform {
 public:
  bool modeAccepted = true;
  bool answerYes = true;
  bool registers = true;
  bool windowCreated = true;
  bool contextCreated = true;
  bool graphicsReady = true;
  std::vector<std::string> steps;

  bool RegisterWindowClass() override { return Step("register class", registers); }
  bool ChangeDisplayMode(int w, int h, int bits) override {
    return Step("display mode " + std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(bits),
                modeAccepted);
  }
  bool AskForWindowedMode() override { return Step("ask for a window", answerYes); }
  void SetCursorVisible(bool visible) override { steps.push_back(visible ? "show cursor" : "hide cursor"); }
  bool CreateRenderWindow(const char* title, int w, int h, bool fullScreen) override {
    return Step(std::string(fullScreen ? "popup " : "window ") + title + " " + std::to_string(w) + "x" +
                    std::to_string(h),
                windowCreated);
  }
  bool CreateRenderContext(int bits) override {
    return Step("context " + std::to_string(bits), contextCreated);
  }
  void ShowRenderWindow() override { steps.push_back("show"); }
  void ResizeView(int w, int h) override {
    steps.push_back("view " + std::to_string(w) + "x" + std::to_string(h));
  }
  bool InitGraphics() override { return Step("init graphics", graphicsReady); }
  void RestoreDisplayMode() override { steps.push_back("restore display mode"); }
  void DeleteRenderContext() override { steps.push_back("delete context"); }
  void ReleaseDeviceContext() override { steps.push_back("release dc"); }
  void DestroyRenderWindow() override { steps.push_back("destroy window"); }
  void UnregisterWindowClass() override { steps.push_back("unregister class"); }

 private:
  bool Step(const std::string& name, bool result) {
    steps.push_back(name);
    return result;
  }
};

using Steps = std::vector<std::string>;

const Steps kCloseSteps = {"delete context", "release dc", "destroy window", "unregister class"};

Steps Join(Steps a, const Steps& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

bool Open(RecordingPlatform& platform, FrameState& state) {
  return OpenRenderWindow(platform, state, "Tovira_VC", 1024, 768, 32, true);
}

TEST(RenderWindowOrder, FullScreenSwitchesTheModeBeforeTheWindowAndRestoresItFirstOnClose) {
  RecordingPlatform platform;
  FrameState state;
  ASSERT_TRUE(Open(platform, state));
  EXPECT_TRUE(state.FullScreen);
  EXPECT_EQ(platform.steps,
            (Steps{"register class", "display mode 1024x768x32", "hide cursor", "popup Tovira_VC 1024x768",
                   "context 32", "show", "view 1024x768", "init graphics"}));
  platform.steps.clear();
  CloseRenderWindow(platform, state);
  EXPECT_EQ(platform.steps, Join({"restore display mode", "show cursor"}, kCloseSteps));
  EXPECT_FALSE(state.FullScreen);
}

TEST(RenderWindowOrder, RefusedModeAnsweredYesRunsInAWindowAndLeavesTheModeAlone) {
  RecordingPlatform platform;
  platform.modeAccepted = false;
  FrameState state;
  ASSERT_TRUE(Open(platform, state));
  EXPECT_FALSE(state.FullScreen);
  EXPECT_EQ(platform.steps,
            (Steps{"register class", "display mode 1024x768x32", "ask for a window",
                   "window Tovira_VC 1024x768", "context 32", "show", "view 1024x768", "init graphics"}));
  platform.steps.clear();
  CloseRenderWindow(platform, state);
  EXPECT_EQ(platform.steps, kCloseSteps);  // no mode to restore, no cursor to show
}

TEST(RenderWindowOrder, RefusedModeAnsweredNoEndsAtOnceWithoutCleanUp) {
  RecordingPlatform platform;
  platform.modeAccepted = false;
  platform.answerYes = false;
  FrameState state;
  EXPECT_FALSE(Open(platform, state));
  EXPECT_EQ(platform.steps, (Steps{"register class", "display mode 1024x768x32", "ask for a window"}));
}

TEST(RenderWindowOrder, AFailureAfterTheSwitchRestoresTheModeAndTheCursor) {
  struct Case {
    const char* name;
    bool window, context, graphics;
    Steps openSteps;
  };
  const Steps before = {"register class", "display mode 1024x768x32", "hide cursor",
                        "popup Tovira_VC 1024x768"};
  const Case cases[] = {
      {"no window", false, true, true, before},
      {"no context", true, false, true, Join(before, {"context 32"})},
      {"scene start failed", true, true, false,
       Join(before, {"context 32", "show", "view 1024x768", "init graphics"})},
  };
  for (const Case& c : cases) {
    RecordingPlatform platform;
    platform.windowCreated = c.window;
    platform.contextCreated = c.context;
    platform.graphicsReady = c.graphics;
    FrameState state;
    EXPECT_FALSE(Open(platform, state)) << c.name;
    EXPECT_EQ(platform.steps, Join(c.openSteps, Join({"restore display mode", "show cursor"}, kCloseSteps)))
        << c.name;
  }
}

TEST(RenderWindowOrder, AClassThatCannotBeRegisteredEndsBeforeTheModeSwitch) {
  RecordingPlatform platform;
  platform.registers = false;
  FrameState state;
  EXPECT_FALSE(Open(platform, state));
  EXPECT_EQ(platform.steps, Steps{"register class"});
}

}  // namespace
}  // namespace hz
