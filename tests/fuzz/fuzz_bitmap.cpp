// Any bytes as a bitmap file in the texture folder: the header checks, the
// layout built from them and our own converter, as LoadDibImage runs them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A private copy, so that ASan sees any read past the file's end.
  std::vector<std::uint8_t> file(data, data + size);
  const std::uint8_t* bytes = file.empty() ? nullptr : file.data();

  hz::DibLayout layout;
  const hz::DibError parsed = hz::ParseDib(bytes, file.size(), &layout);
  if (parsed == hz::DibError::kNone) {
    // What the converter and the GDI path rely on.
    if (layout.width <= 0 || layout.height <= 0) __builtin_trap();
    if (layout.pixelOffset > file.size() || layout.PixelBytes() > file.size() - layout.pixelOffset)
      __builtin_trap();
    if (layout.info.size() != 44 + 4 * static_cast<std::size_t>(layout.colors)) __builtin_trap();
    if (CountDibColors(layout.info.data()) != layout.colors) __builtin_trap();
  }

  hz::DibError decoded = hz::DibError::kNone;
  DibImage* image = hz::DecodeDib(bytes, file.size(), &decoded);
  if ((image != nullptr) != (decoded == hz::DibError::kNone)) __builtin_trap();
  if (parsed != hz::DibError::kNone && image) __builtin_trap();
  if (image) {
    if (image->width != layout.width || image->height != layout.height) __builtin_trap();
    // Every byte of the picture is written: reading it all finds nothing uninitialised to ASan,
    // and the sum keeps the reads from being optimised away.
    unsigned sum = 0;
    for (std::size_t i = 0; i < layout.RgbBytes(); ++i) sum += image->data[i];
    if (sum == 0xFFFFFFFFu) __builtin_trap();
    FreeDibImage(image);
  }
  if (!hz::DibErrorText(decoded, "x").empty() != (decoded != hz::DibError::kNone)) __builtin_trap();
  return 0;
}
