// What the screensaver's command line asks for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hz {

enum class Mode {
  Preview,             // "P": picture inside the given parent window
  Settings,            // "C": the settings dialog
  Saver,               // "S": the screensaver with the cursor hidden
  SaverCursorVisible,  // empty command line: the screensaver, cursor left alone
  None,                // anything else: prepare, then end silently
};

struct Dispatch {
  Mode mode = Mode::None;
  char letter = '\0';               // second character upper-cased; '\0' when too short
  std::int32_t previewParent = 0;   // only for Mode::Preview
};

// The argument text after the program's own path, without the blanks between
// them; follows the Windows rules for a quoted or unquoted program path.
std::string ArgumentsAfterProgram(std::string_view fullCommandLine);

// The mode letter: second character of the upper-cased arguments, or '\0'.
char ModeLetter(std::string_view arguments);

// The whole decision for one start of the screensaver.
Dispatch DispatchCommandLine(std::string_view arguments);

}  // namespace hz
