#include "command_line.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

// The modes themselves are checked through Main; here, the preview's parent handle.
TEST(DispatchCommandLine, ReadsThePreviewParentFromTheFourthCharacterOn) {
  // clang-format off
  const std::pair<std::string, std::int32_t> cases[] = {
      {"/p 1234", 1234}, {"/P 1234", 1234}, {"/p1234", 234},   {"/p", 0},           {"/p ", 0},
      {"/p 12 34", 1234}, {"/p  1 2x3", 12}, {"/p abc", 0},    {"/p -5", -5},       {"/p 2.5", 2},
      {"/p 1.5", 2},     {"/p 2147483647", 2147483647},        {"/p 99999999999", 0},
      {"/p " + std::string(100000, '9'), 0}};
  // clang-format on
  for (const auto& [arguments, parent] : cases) {
    SCOPED_TRACE(arguments.substr(0, 20));
    const Dispatch d = DispatchCommandLine(arguments);
    EXPECT_EQ(d.mode, Mode::Preview);
    EXPECT_EQ(d.previewParent, parent);
  }
}

TEST(ArgumentsAfterProgram, DropsTheProgramPathAndTheBlanksAfterIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Hazumaki\\Hazumaki.scr /s", "/s"},
      {"\"C:\\Program Files\\Hazumaki\\Hazumaki.scr\" /p 1234", "/p 1234"},
      {"\"C:\\Program Files\\Hazumaki.scr\"   /c:99", "/c:99"},
      {"\"Hazumaki.scr\"", ""},
      {"Hazumaki.scr \t /S ", "/S "},
      {"\"unterminated /s", ""},
  };
  for (const auto& [line, args] : cases) EXPECT_EQ(ArgumentsAfterProgram(line), args) << line;
}

}  // namespace
}  // namespace hz
