#include "profile_win32.h"

#include <windows.h>

#include <vector>

#include "win32_text.h"

namespace hz::win {

std::string Win32ProfileStore::ReadString(const std::string& section, const std::string& key,
                                          const std::string& file, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::vector<char> buffer(bufferSize, '\0');
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), static_cast<DWORD>(bufferSize),
                           file.c_str());
  buffer.back() = '\0';
  return std::string(buffer.data());
}

bool Win32ProfileStore::WriteString(const std::string& section, const std::string& key,
                                    const std::string& value, const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

// The narrow profile functions speak the system's ANSI code page.
LeadByteTest Win32ProfileStore::LeadBytes() const { return IsAnsiLeadByte; }

}  // namespace hz::win
