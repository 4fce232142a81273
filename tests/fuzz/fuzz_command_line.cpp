// Any command line, as Windows could hand it to the screensaver.
#include <cstddef>
#include <cstdint>
#include <string>

#include "command_line.h"
#include "conversions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string arguments = hz::ArgumentsAfterProgram(text);
  const hz::Dispatch d = hz::DispatchCommandLine(arguments);
  if (d.mode != hz::Mode::Preview && d.previewParent != 0) __builtin_trap();
  (void)hz::DispatchCommandLine(text);
  (void)hz::ReadLeadingNumber(text);
  if (const auto n = hz::ParseWholeNumber(text)) {
    (void)hz::RoundToInt32(*n);
    (void)hz::FloorToInt16(*n);
  }
  return 0;
}
