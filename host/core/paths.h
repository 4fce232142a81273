// Small path helpers shared by start-up, the settings and the dialog.
#pragma once

#include <string>
#include <string_view>

namespace hz {

// True when the file can be opened for reading right now (one trailing
// backslash is dropped first). Anything that cannot be opened is false.
bool FileExists(std::string_view path);

// The path up to its last ':' or '\', without one trailing '\':
// C:\Music\a.mp3 -> C:\Music, C:\a.mp3 -> C:, a.mp3 -> "".
std::string DirectoryPart(std::string_view path);

}  // namespace hz
