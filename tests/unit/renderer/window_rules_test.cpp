#include "window_rules.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <tuple>
#include <vector>

namespace hz {
namespace {

constexpr unsigned kWmMouseMove = 0x0200;
constexpr unsigned kWmPaint = 0x000F;
constexpr std::uintptr_t kMinimized = 0x10000;  // WM_ACTIVATE's high word: the window is minimized

TEST(FrameMessages, EachMessageGetsItsAction) {
  const struct {
    const char* name;
    unsigned message;
    std::uintptr_t wParam;
    MessageAction expected;
  } cases[] = {
      {"screensaver start swallowed, its low bits ignored", kWmSysCommand, kScScreenSave | 0x2,
       MessageAction::kHandled},
      {"monitor power-off swallowed", kWmSysCommand, kScMonitorPower, MessageAction::kHandled},
      {"key up handled", kWmKeyUp, 'A', MessageAction::kHandled},
      {"activation handled", kWmActivate, 1, MessageAction::kHandled},
      {"a layout change re-covers", kWmDisplayChange, 0, MessageAction::kLayoutChanged},
  };
  for (const auto& c : cases) {
    FrameState fresh;
    EXPECT_EQ(HandleFrameMessage(fresh, c.message, c.wParam, 0).action, c.expected) << c.name;
  }
  // Size hands over both halves, a zero height too (ResizeView takes it as 1).
  FrameState state;
  for (const auto& [w, h] : {std::pair{640, 0}, {1024, 768}}) {
    const MessageOutcome size = HandleFrameMessage(state, kWmSize, 0, w | (h << 16));
    EXPECT_EQ(std::make_tuple(size.action, size.width, size.height),
              std::make_tuple(MessageAction::kResize, w, h));
  }
  // Key codes beyond the table are ignored rather than written past it.
  for (std::uintptr_t key : {256u, 0x1001Bu, 255u}) HandleFrameMessage(state, kWmKeyDown, key, 0);
  for (int k = 0; k < 256; ++k) EXPECT_EQ(state.Keys[k], k == 255) << k;
}

// The loop, with a queue scripted the way the system would fill it, and a
// close request after so many idle passes (a quit after 100000 ends runaways).
struct ScriptedPump final : MessagePump {
  ScriptedPump(const std::vector<QueuedMessage>& arrivals, int closeAfterIdle)
      : queue(arrivals.begin(), arrivals.end()), closeAfter_(closeAfterIdle) {}
  bool Peek(QueuedMessage* message) override {
    if (queue.empty() && ++idlePeeks == closeAfter_) queue.push_back({kWmClose, 0});
    if (queue.empty() && idlePeeks > 100000) queue.push_back({kWmQuit, 99});
    if (queue.empty()) return false;
    *message = current_ = queue.front();
    queue.pop_front();
    return true;
  }
  void Dispatch() override {
    ++dispatched;
    if (HandleFrameMessage(state, current_.message, current_.wParam, 0).action == MessageAction::kQuit)
      queue.push_back({kWmQuit, 0});
  }
  void DrawAndSwap() override { ++frames; }

  std::deque<QueuedMessage> queue;
  int frames = 0, dispatched = 0, idlePeeks = 0;
  FrameState state;
  int closeAfter_;
  QueuedMessage current_;
};

TEST(FrameLoop, EscapeAndCloseAndQuitEndTheLoopByTheRules) {
  const QueuedMessage escape{kWmKeyDown, kVkEscape}, escapeUp{kWmKeyUp, kVkEscape};
  const QueuedMessage minimized{kWmActivate, kMinimized}, restored{kWmActivate, 1};
  const struct {
    const char* name;
    std::vector<QueuedMessage> arrivals;
    int closeAfterIdle;
    int frames, idlePeeks, dispatched, result;  // the result is the last message's wParam
  } cases[] = {
      {"draws while idle until the close request", {}, 5, 4, 5, 1, 0},
      {"focus lost without minimizing keeps drawing", {{kWmActivate, 0}}, 3, 2, 3, 2, 0},
      {"Escape waits for an idle pass", {escape, {kWmMouseMove, 0}, {kWmPaint, 0}}, 1000, 0, 1, 3, 0},
      {"Escape released before the idle pass is cancelled", {escape, escapeUp}, 3, 2, 3, 3, 0},
      {"while minimized Escape is ignored but a close request ends", {minimized, escape}, 50, 0, 50, 3, 0},
      {"Escape held while minimized ends once back", {minimized, escape, restored}, 1000, 0, 1, 3, 1},
      {"a quit posted by anyone ends with its code, undispatched", {{kWmQuit, 7}}, 1000, 0, 0, 0, 7},
  };
  for (const auto& c : cases) {
    ScriptedPump pump(c.arrivals, c.closeAfterIdle);
    const int result = RunFrameLoop(pump, pump.state);
    EXPECT_EQ(std::make_tuple(result, pump.frames, pump.idlePeeks, pump.dispatched),
              std::make_tuple(c.result, c.frames, c.idlePeeks, c.dispatched))
        << c.name;
  }
}

// Opening and closing: the steps in order, with the step named in `failing` answering false.
struct RecordingPlatform final : RenderWindowPlatform {
  std::string failing;
  bool answerYes = true;
  std::vector<std::string> steps;
  ScreenRect window;

  bool Step(const std::string& name) {
    steps.push_back(name);
    return name != failing;
  }
  static std::string Size(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }
  bool RegisterWindowClass() override { return Step("register class"); }
  bool ChangeDisplayMode(int w, int h, int bits) override {
    return Step("display mode " + Size(w, h) + "x" + std::to_string(bits));
  }
  bool AskForWindowedMode() override { return Step("ask for a window") && answerYes; }
  void SetCursorVisible(bool visible) override { Step(visible ? "show cursor" : "hide cursor"); }
  bool CreateRenderWindow(const char* title, int w, int h, bool full) override {
    window = {0, 0, w, h};
    return Step(std::string(full ? "popup " : "window ") + title + " " + Size(w, h));
  }
  std::vector<ScreenRect> MonitorRects() override { return {{0, 0, 1024, 768}, {1024, 0, 2048, 768}}; }
  ScreenRect RenderWindowRect() override { return window; }
  void ShowCovers(const std::vector<ScreenRect>& rects) override {
    std::string step = rects.empty() ? "uncover" : "cover";
    for (const ScreenRect& r : rects) step += " " + std::to_string(r.left) + "," + std::to_string(r.right);
    Step(step);
  }
  bool CreateRenderContext(int bits) override { return Step("context " + std::to_string(bits)); }
  void ShowRenderWindow() override { Step("show"); }
  void ResizeView(int w, int h) override { Step("view " + Size(w, h)); }
  bool InitGraphics() override { return Step("init graphics"); }
  void RestoreDisplayMode() override { Step("restore display mode"); }
  void DeleteRenderContext() override { Step("delete context"); }
  void ReleaseDeviceContext() override { Step("release dc"); }
  void DestroyRenderWindow() override { Step("destroy window"); }
  void UnregisterWindowClass() override { Step("unregister class"); }
};

using Steps = std::vector<std::string>;

Steps operator+(Steps a, const Steps& b) { return a.insert(a.end(), b.begin(), b.end()), a; }

TEST(MonitorCovers, EveryMonitorTheWindowDoesNotReachOnce) {
  const ScreenRect window{0, 0, 1024, 768}, right{1024, 0, 2048, 768}, left{-1280, -256, 0, 768};
  const ScreenRect below{0, 768, 1024, 1536}, above{0, -768, 1024, 0};
  const struct {
    const char* name;
    std::vector<ScreenRect> monitors, covers;
  } cases[] = {
      {"one monitor: nothing", {window}, {}},
      {"the others, wherever they lie", {left, window, right, below, above}, {left, right, below, above}},
      {"a mirrored monitor once", {window, right, right}, {right}},
      {"a monitor the window reaches is left to it", {window, {1000, 0, 2000, 768}}, {}},
      {"none without area", {{2048, 0, 2048, 768}, {0, 900, 100, 800}}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(MonitorsToCover(c.monitors, window), c.covers) << c.name;
}

TEST(RenderWindowOrder, TheModeIsSwitchedBeforeTheWindowAndRestoredFirst) {
  const Steps toMode = {"register class", "display mode 1024x768x32"};
  const Steps popup = {"hide cursor", "popup Tovira_VC 1024x768", "cover 1024,2048"};
  const Steps rest = {"context 32", "show", "view 1024x768", "init graphics"};
  const Steps restore = {"restore display mode", "show cursor"};
  const Steps close = {"delete context", "release dc", "uncover", "destroy window", "unregister class"};
  const struct {
    const char* name;
    std::string failing;
    bool answerYes;
    bool opened;
    Steps expected;  // opening, then closing when it opened
  } cases[] = {
      {"full screen", "", true, true, toMode + popup + rest + restore + close},
      {"refused mode answered Yes runs in a window", "display mode 1024x768x32", true, true,
       toMode + Steps{"ask for a window", "window Tovira_VC 1024x768"} + rest + close},
      {"refused mode answered No ends at once without clean-up", "display mode 1024x768x32", false, false,
       toMode + Steps{"ask for a window"}},
      {"no window", "popup Tovira_VC 1024x768", true, false,
       toMode + Steps{"hide cursor", "popup Tovira_VC 1024x768"} + restore + close},
      {"no context", "context 32", true, false, toMode + popup + Steps{"context 32"} + restore + close},
      {"scene start failed", "init graphics", true, false, toMode + popup + rest + restore + close},
      {"class not registered", "register class", true, false, {"register class"}},
  };
  for (const auto& c : cases) {
    RecordingPlatform platform;
    platform.failing = c.failing;
    platform.answerYes = c.answerYes;
    FrameState state;
    EXPECT_EQ(OpenRenderWindow(platform, state, "Tovira_VC", 1024, 768, 32, true), c.opened) << c.name;
    if (c.opened) {
      CloseRenderWindow(platform, state);
      EXPECT_FALSE(state.FullScreen) << c.name;
    }
    EXPECT_EQ(platform.steps, c.expected) << c.name;
  }
}

}  // namespace
}  // namespace hz
