#include "startup.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace hz {
namespace {

class NoProfile final : public ProfileStore {
 public:
  std::string ReadString(const std::string&, const std::string& key, const std::string& file,
                         std::size_t) override {
    reads.push_back(file);
    return key == kKeyKind ? kind : std::string();
  }
  bool WriteString(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  std::string kind;
  std::vector<std::string> reads;
};

// Records every platform step in order, as one word each.
class FakeStartup final : public StartupPlatform {
 public:
  bool WindowExists(const char* title) override {
    steps.push_back(std::string("find ") + title);
    return windows.count(title) != 0;
  }
  void MakeDirectory(const std::string& path) override { steps.push_back("mkdir " + path); }
  ProfileStore& Profiles() override {
    steps.push_back("settings");
    return profile;
  }
  bool FileExists(const std::string& path) override {
    steps.push_back("exists " + path);
    return rendererPresent;
  }
  void ShowMessage(const char* text, const char* caption) override {
    steps.push_back(std::string("message ") + caption);
    message = text;
  }
  std::int32_t HideCursor() override {
    steps.push_back("hide cursor");
    return -1;
  }
  void ShowPreview(std::int32_t parent) override { steps.push_back("preview " + std::to_string(parent)); }
  void ShowSettingsDialog(HostState&) override { steps.push_back("dialog"); }
  void StartSession(HostState&) override { steps.push_back("session"); }

  std::set<std::string> windows;
  bool rendererPresent = true;
  NoProfile profile;
  std::vector<std::string> steps;
  std::string message;
};

using Steps = std::vector<std::string>;

struct Outcome {
  MainResult result;
  Steps steps;
  HostState host;
  std::string message;
};

Outcome Start(const std::string& arguments, bool rendererPresent = true, std::set<std::string> windows = {}) {
  FakeStartup platform;
  platform.rendererPresent = rendererPresent;
  platform.windows = std::move(windows);
  Outcome run;
  run.host.arguments = arguments;
  run.host.programFolder = "C:\\Prog";
  run.result = Main(platform, run.host);
  run.steps = platform.steps;
  run.message = platform.message;
  return run;
}

const Steps kPrepare = {"find Tovira_Main", "find <Hazumaki>", "mkdir C:\\k_arden", "settings",
                        "exists C:\\Prog\\Hazumaki.dll"};

Steps Then(Steps steps, std::initializer_list<const char*> more) {
  steps.insert(steps.end(), more.begin(), more.end());
  return steps;
}

TEST(Main, SaverModeHidesTheCursorAndLoadsTheSession) {
  for (const char* args : {"/s", "/S", "-s", "/s 0"}) {
    SCOPED_TRACE(args);
    const Outcome run = Start(args);
    EXPECT_EQ(run.steps, Then(kPrepare, {"hide cursor", "session"}));
    EXPECT_EQ(run.result, MainResult::KeepRunning);
    EXPECT_EQ(run.host.Cursor_Count, -1);
  }
}

TEST(Main, EmptyCommandLineRunsSaverWithCursorVisible) {
  const Outcome run = Start("");
  EXPECT_EQ(run.steps, Then(kPrepare, {"session"}));
  EXPECT_EQ(run.result, MainResult::KeepRunning);
  EXPECT_FALSE(run.host.Cursor_Count.has_value());
}

TEST(Main, SettingsModeShowsTheDialogThenEnds) {
  for (const char* args : {"/c", "/C", "/c:1234"}) {
    SCOPED_TRACE(args);
    const Outcome run = Start(args);
    EXPECT_EQ(run.steps, Then(kPrepare, {"dialog"}));
    EXPECT_EQ(run.result, MainResult::EndProcess);
  }
}

TEST(Main, OtherLettersPrepareAndEndSilently) {
  for (const char* args : {"s", "/x", "/ s", "x"}) {
    SCOPED_TRACE(args);
    const Outcome run = Start(args);
    EXPECT_EQ(run.steps, kPrepare);
    EXPECT_EQ(run.result, MainResult::EndProcess);
  }
}

TEST(Main, PreviewNeitherPreparesNorChecksTheRenderer) {
  const Outcome run = Start("/p 1234", false);
  EXPECT_EQ(run.steps, (Steps{"find Tovira_Main", "find <Hazumaki>", "preview 1234"}));
  EXPECT_EQ(run.result, MainResult::KeepRunning);
}

TEST(Main, AMissingRendererShowsTheMessageAndEnds) {
  for (const char* args : {"/s", "/c", "", "/x"}) {
    SCOPED_TRACE(args);
    const Outcome run = Start(args, false);
    EXPECT_EQ(run.steps, Then(kPrepare, {"message Hazumaki"}));
    EXPECT_EQ(run.message, "Hazumaki.dll が同じﾌｫﾙﾀﾞに見つかりません！");
    EXPECT_EQ(run.result, MainResult::EndProcess);
  }
}

TEST(Main, ARunningSessionOrDialogEndsEveryModeAtOnce) {
  for (const char* window : {"Tovira_Main", "<Hazumaki>"}) {
    for (const char* args : {"/s", "/c", "/p 1234", "", "/x"}) {
      SCOPED_TRACE(std::string(window) + " " + args);
      const Outcome run = Start(args, true, {window});
      EXPECT_EQ(run.result, MainResult::EndProcess);
      EXPECT_EQ(run.steps.back().rfind("find ", 0), 0u) << "nothing after the look-up";
    }
  }
  // A running preview does not count.
  EXPECT_EQ(Start("/s", true, {"Preview Window"}).result, MainResult::KeepRunning);
}

TEST(Main, LoadsTheSettingsFromBesideTheProgram) {
  FakeStartup platform;
  platform.profile.kind = " 1";
  HostState host;
  host.arguments = "/x";
  host.programFolder = "D:\\Savers";
  Main(platform, host);
  EXPECT_EQ(host.music.BGM_Kind, 1);
  ASSERT_FALSE(platform.profile.reads.empty());
  EXPECT_EQ(platform.profile.reads.front(), "D:\\Savers\\Hazumaki.ini");
}

}  // namespace
}  // namespace hz
