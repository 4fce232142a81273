// Text conversions at the Windows boundary: UTF-8 inside, wide for what the
// user reads, the ANSI code page for paths and the settings file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace hz::win {

inline std::wstring Widen(std::string_view text, UINT codePage = CP_UTF8) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

// Converts to a narrow code page; `lossless` tells whether every character
// survived exactly. Asked that, no look-alike stands in for a missing
// character ("ł" would silently become "l" and name another file).
inline std::string Narrow(std::wstring_view text, UINT codePage = CP_UTF8, bool* lossless = nullptr) {
  if (lossless) *lossless = true;
  if (text.empty()) return {};
  BOOL usedDefault = FALSE;
  const bool exact = codePage != CP_UTF8 && lossless;
  BOOL* usedDefaultOut = exact ? &usedDefault : nullptr;
  const DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
  const int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, usedDefaultOut);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      usedDefaultOut);
  if (lossless && usedDefault) *lossless = false;
  return out;
}

// Whether a byte begins a two-byte character in the ANSI code page, the one
// paths and the settings file are kept in.
inline bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// The running program's folder, without a trailing backslash.
inline std::wstring ProgramFolderW() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace hz::win
