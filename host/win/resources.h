// The pictures the host carries as bitmap resources.
#pragma once

#include <windows.h>

#include <optional>

#include "bitmap_file.h"

namespace hz::win {

// A 24-bit bitmap resource as it is stored; nothing when missing or of another kind.
inline std::optional<Bitmap24> LoadBitmapResource(HINSTANCE instance, int id) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));  // RT_BITMAP
  if (!found) return std::nullopt;
  HGLOBAL loaded = LoadResource(instance, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return Bitmap24FromPackedDib(static_cast<const std::uint8_t*>(bytes), SizeofResource(instance, found));
}

}  // namespace hz::win
