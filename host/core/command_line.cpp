#include "command_line.h"

#include "conversions.h"

namespace hz {
namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string ArgumentsAfterProgram(std::string_view line) {
  std::size_t i = 0;
  if (i < line.size() && line[i] == '"') {
    ++i;
    while (i < line.size() && line[i] != '"') ++i;
    if (i < line.size()) ++i;
  }
  // An unquoted path (or text glued to a closing quote) runs up to the first blank.
  while (i < line.size() && !IsBlank(line[i])) ++i;
  while (i < line.size() && IsBlank(line[i])) ++i;
  return std::string(line.substr(i));
}

char ModeLetter(std::string_view arguments) {
  return arguments.size() < 2 ? '\0' : Upper(arguments[1]);
}

Dispatch DispatchCommandLine(std::string_view arguments) {
  Dispatch d;
  d.letter = ModeLetter(arguments);
  switch (d.letter) {
    case 'P': {
      d.mode = Mode::Preview;
      // The handle is read from the fourth character on, as the system writes "/p 1234".
      const std::string_view rest = arguments.size() > 3 ? arguments.substr(3) : std::string_view();
      d.previewParent = RoundToInt32(ReadLeadingNumber(rest)).value_or(0);
      break;
    }
    case 'C': d.mode = Mode::Settings; break;
    case 'S': d.mode = Mode::Saver; break;
    default: d.mode = arguments.empty() ? Mode::SaverCursorVisible : Mode::None; break;
  }
  return d;
}

}  // namespace hz
