#include "paths.h"

#include <cstdio>
#include <string>

namespace hz {

namespace {

// Where the character after the one at `i` begins.
std::size_t NextCharacter(std::string_view path, std::size_t i, LeadByteTest isLeadByte) {
  return i + (isLeadByte && isLeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1);
}

// True when the path's last character is a backslash of its own, not the
// second byte of a two-byte character.
bool EndsWithBackslash(std::string_view path, LeadByteTest isLeadByte) {
  if (path.empty() || path.back() != '\\') return false;
  std::size_t i = 0;
  while (i + 1 < path.size()) i = NextCharacter(path, i, isLeadByte);
  return i == path.size() - 1;
}

}  // namespace

bool FileExists(std::string_view path, LeadByteTest isLeadByte) {
  if (EndsWithBackslash(path, isLeadByte)) path.remove_suffix(1);
  const std::string name(path);
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

std::string DirectoryPart(std::string_view path, LeadByteTest isLeadByte) {
  std::size_t end = 0;  // one past the last ':' or '\\' found
  for (std::size_t i = 0; i < path.size(); i = NextCharacter(path, i, isLeadByte)) {
    if (path[i] == ':' || path[i] == '\\') end = i + 1;
  }
  std::string_view dir = path.substr(0, end);
  if (!dir.empty() && dir.back() == '\\') dir.remove_suffix(1);
  return std::string(dir);
}

}  // namespace hz
