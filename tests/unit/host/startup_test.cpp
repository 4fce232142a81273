#include "startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support.h"

namespace hz {
namespace {

using Steps = std::vector<std::string>;

// Records every platform step in order; the settings come from a real INI file.
struct Start final : StartupPlatform {
  Start(const std::string& arguments, bool renderer = true, std::set<std::string> open = {})
      : rendererPresent(renderer), windows(std::move(open)) {
    host.arguments = arguments;
    host.programFolder = "C:\\Prog";
    result = Main(*this, host);
  }
  bool WindowExists(const char* title) override {
    return Log(std::string("find ") + title, windows.count(title) > 0);
  }
  void MakeDirectory(const std::string& path) override { Log("mkdir " + path, 0); }
  ProfileStore& Profiles() override { return Log<ProfileStore&>("settings", ini); }
  bool FileExists(const std::string& path) override { return Log("exists " + path, rendererPresent); }
  void ShowMessage(const char* text, const char* caption) override {
    Log(std::string("message ") + caption + ": " + text, 0);
  }
  std::int32_t HideCursor() override { return Log("hide cursor", -1); }
  void ShowPreview(std::int32_t parent) override { Log("preview " + std::to_string(parent), 0); }
  void ShowSettingsDialog(HostState&) override { Log("dialog", 0); }
  void StartSession(HostState&) override { Log("session", 0); }
  template <typename T>
  T Log(const std::string& step, T answer) {
    steps.push_back(step);
    return answer;
  }

  bool rendererPresent;
  std::set<std::string> windows;
  IniFileStore ini;
  Steps steps;
  HostState host;
  MainResult result;
};

Steps Prepared(std::initializer_list<const char*> more) {
  Steps steps = {"find Tovira_Main", "find <Hazumaki>", "mkdir C:\\k_arden", "settings",
                 "exists C:\\Prog\\Hazumaki.dll"};
  steps.insert(steps.end(), more.begin(), more.end());
  return steps;
}

TEST(Main, FollowsTheDispatchTable) {
  constexpr MainResult kEnd = MainResult::EndProcess, kKeep = MainResult::KeepRunning;
  const Steps missing = Prepared({"message Hazumaki: Hazumaki.dll が同じﾌｫﾙﾀﾞに見つかりません！"});
  const struct {
    const char* arguments;
    bool renderer;
    Steps steps;
    MainResult result;
  } cases[] = {
      {"/s", true, Prepared({"hide cursor", "session"}), kKeep},
      {"-S", true, Prepared({"hide cursor", "session"}), kKeep},
      {"/s 0", true, Prepared({"hide cursor", "session"}), kKeep},
      {"", true, Prepared({"session"}), kKeep},
      {"/c:1234", true, Prepared({"dialog"}), kEnd},
      {"s", true, Prepared({}), kEnd},
      {"/ s", true, Prepared({}), kEnd},
      {"/p 1234", false, {"find Tovira_Main", "find <Hazumaki>", "preview 1234"}, kKeep},
      {"/s", false, missing, kEnd},
      {"", false, missing, kEnd},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.arguments + (c.renderer ? "\"" : "\" without the renderer"));
    const Start run(c.arguments, c.renderer);
    EXPECT_EQ(run.steps, c.steps);
    EXPECT_EQ(run.result, c.result);
    const bool hidden = std::count(c.steps.begin(), c.steps.end(), "hide cursor") != 0;
    EXPECT_EQ(run.host.Cursor_Count, hidden ? std::optional<std::int32_t>(-1) : std::nullopt);
  }
}

// Blanks are skipped anywhere and the number stops at the first other character.
TEST(Main, ReadsThePreviewParentFromTheFourthCharacterOn) {
  // clang-format off
  const std::pair<std::string, std::int32_t> cases[] = {
      {"/P 1234", 1234}, {"/p1234", 234},   {"/p", 0},           {"/p ", 0},         {"/p 12 34", 1234},
      {"/p  1 2x3", 12}, {"/p abc", 0},     {"/p -5", -5},       {"/p 2.5", 2},      {"/p 1.5", 2},
      {"/p - 5", -5},    {"/p &H 1F", 31},  {"/p 1e2e3", 100},   {"/p 7:8", 7},      {"/p &Q1", 0},
      {"/p 2147483647", 2147483647},        {"/p 2147483648", 0}, {"/p 1e999", 0},
      {"/p " + std::string(100000, '9'), 0}};
  // clang-format on
  for (const auto& [arguments, parent] : cases) {
    SCOPED_TRACE(arguments.substr(0, 20));
    EXPECT_EQ(Start(arguments).steps.back(), "preview " + std::to_string(parent));
  }
}

TEST(ArgumentsAfterProgram, DropsTheProgramPathAndTheBlanksAfterIt) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Hazumaki\\Hazumaki.scr /s", "/s"}, {"\"C:\\Program Files\\Hazumaki\\Hazumaki.scr\" /p 1234", "/p 1234"},
      {"\"C:\\Program Files\\Hazumaki.scr\"   /c:99", "/c:99"}, {"\"Hazumaki.scr\"", ""},
      {"Hazumaki.scr \t /S ", "/S "}, {"\"unterminated /s", ""}};
  // clang-format on
  for (const auto& [line, args] : cases) EXPECT_EQ(ArgumentsAfterProgram(line), args) << line;
}

}  // namespace
}  // namespace hz
