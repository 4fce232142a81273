#include "command_line.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

struct DispatchCase {
  const char* arguments;
  Mode mode;
  std::int32_t parent;
};

TEST(DispatchCommandLine, FollowsTheSecondCharacterOfTheUpperCasedArguments) {
  const DispatchCase cases[] = {
      {"/s", Mode::Saver, 0},
      {"/S", Mode::Saver, 0},
      {"-S", Mode::Saver, 0},
      {"-s", Mode::Saver, 0},
      {"/s anything", Mode::Saver, 0},
      {"", Mode::SaverCursorVisible, 0},
      {"s", Mode::None, 0},
      {"/x", Mode::None, 0},
      {"/ ", Mode::None, 0},
      {"/c", Mode::Settings, 0},
      {"/C", Mode::Settings, 0},
      {"/c:1234", Mode::Settings, 0},
      {"/p 1234", Mode::Preview, 1234},
      {"/P 1234", Mode::Preview, 1234},
      {"/p1234", Mode::Preview, 234},  // reading starts at the fourth character
      {"/p", Mode::Preview, 0},
      {"/p ", Mode::Preview, 0},
      {"/p 12 34", Mode::Preview, 1234},
      {"/p  1 2x3", Mode::Preview, 12},
      {"/p abc", Mode::Preview, 0},
      {"/p -5", Mode::Preview, -5},
      {"/p 99999999999", Mode::Preview, 0},  // out of range
      {"/p 2147483647", Mode::Preview, 2147483647},
      {"/p 1.5", Mode::Preview, 2},
      {"/p 2.5", Mode::Preview, 2},
  };
  for (const DispatchCase& c : cases) {
    SCOPED_TRACE(std::string("arguments: \"") + c.arguments + "\"");
    const Dispatch d = DispatchCommandLine(c.arguments);
    EXPECT_EQ(d.mode, c.mode);
    EXPECT_EQ(d.previewParent, c.parent);
  }
}

TEST(DispatchCommandLine, SurvivesAnyLengthAndContent) {
  std::string long_line = "/p " + std::string(100000, '9');
  EXPECT_EQ(DispatchCommandLine(long_line).previewParent, 0);
  std::string binary("/p\0\xff\x80 12", 8);
  EXPECT_EQ(DispatchCommandLine(binary).mode, Mode::Preview);
  EXPECT_EQ(DispatchCommandLine("\xff\xfe").mode, Mode::None);
}

TEST(ArgumentsAfterProgram, DropsTheProgramPathAndTheBlanksAfterIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Hazumaki\\Hazumaki.scr /s", "/s"},
      {"\"C:\\Program Files\\Hazumaki\\Hazumaki.scr\" /p 1234", "/p 1234"},
      {"\"C:\\Program Files\\Hazumaki.scr\"   /c:99", "/c:99"},
      {"Hazumaki.scr", ""},
      {"\"Hazumaki.scr\"", ""},
      {"Hazumaki.scr \t /S ", "/S "},
      {"\"unterminated /s", ""},
      {"", ""},
  };
  for (const auto& [line, args] : cases) {
    SCOPED_TRACE(line);
    EXPECT_EQ(ArgumentsAfterProgram(line), args);
  }
}

}  // namespace
}  // namespace hz
