#include "paths.h"

#include <cstdio>
#include <string>

namespace hz {

bool FileExists(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  const std::string name(path);
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

std::string DirectoryPart(std::string_view path) {
  const std::size_t last = path.find_last_of(":\\");
  if (last == std::string_view::npos) return {};
  std::string_view dir = path.substr(0, last + 1);
  if (dir.back() == '\\') dir.remove_suffix(1);
  return std::string(dir);
}

}  // namespace hz
