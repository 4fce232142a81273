// Small path helpers shared by start-up, the settings and the dialog.
#pragma once

#include <string>
#include <string_view>

namespace hz {

// Tells whether a byte begins a two-byte character in the code page of the
// text at hand (the system's ANSI code page for what the narrow functions return).
using LeadByteTest = bool (*)(unsigned char);

// True when the file can be opened for reading right now (one trailing
// backslash is dropped first; with `isLeadByte`, only a backslash that is a
// character of its own). Anything that cannot be opened is false.
bool FileExists(std::string_view path, LeadByteTest isLeadByte = nullptr);

// The path up to its last ':' or '\', without one trailing '\':
// C:\Music\a.mp3 -> C:\Music, C:\a.mp3 -> C:, a.mp3 -> "".
// With `isLeadByte`, the path is walked by characters, so the second byte of a
// two-byte character (a Shift-JIS trail byte may be 0x5C) is never taken for '\'.
std::string DirectoryPart(std::string_view path, LeadByteTest isLeadByte = nullptr);

}  // namespace hz
