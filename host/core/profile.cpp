#include "profile.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace hz {
namespace {

constexpr std::size_t kReplyBuffer = 256;
constexpr std::size_t kNameField = 128;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// The names as the platform sees them: up to the first NUL, at most 127 bytes.
std::string FieldName(const std::string& name) {
  std::string s = name.substr(0, name.find('\0'));
  if (s.size() > kNameField - 1) s.resize(kNameField - 1);
  return s;
}

bool ReadLines(std::FILE* f, std::vector<std::string>& lines) {
  if (!f) return false;
  std::string text;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
  std::fclose(f);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return true;
}

// "[name]" gives name; anything else is not a section header.
bool SectionHeader(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return false;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = line.substr(eq + 1);
  return true;
}

}  // namespace

std::string Profile_Read(ProfileStore& store, const std::string& section, const std::string& key,
                         const std::string& file) {
  std::string value = store.ReadString(section, key, file, kReplyBuffer);
  const std::size_t nul = value.find('\0');
  if (nul != std::string::npos) value.resize(nul);
  if (value.size() > kReplyBuffer - 1) value.resize(kReplyBuffer - 1);
  return value;
}

bool Profile_Write(ProfileStore& store, const std::string& section, const std::string& key,
                   const std::string& value, const std::string& file) {
  return store.WriteString(FieldName(section), FieldName(key), value, file);
}

std::string IniFileStore::ReadString(const std::string& section, const std::string& key,
                                     const std::string& file, std::size_t bufferSize) {
  std::vector<std::string> lines;
  if (bufferSize == 0 || !ReadLines(OpenFile(file, "rb"), lines)) return {};
  bool inSection = false;
  for (const std::string& line : lines) {
    std::string_view name, k, v;
    if (SectionHeader(line, name)) {
      inSection = SameName(name, section);
    } else if (inSection && KeyLine(line, k, v) && SameName(k, key)) {
      v = Trim(v);
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
      std::string out(v.substr(0, bufferSize - 1));
      return out.substr(0, out.find('\0'));
    }
  }
  return {};
}

bool IniFileStore::WriteString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file) {
  std::vector<std::string> lines;
  ReadLines(OpenFile(file, "rb"), lines);  // a missing file is simply a new one
  const std::string entry = key + "=" + value.substr(0, value.find('\0'));

  bool inSection = false, sectionFound = false, replaced = false;
  std::size_t insertAt = 0;  // after the section's last non-empty line
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name, k, v;
    if (SectionHeader(lines[i], name)) {
      if (inSection) break;  // left our section without finding the key
      inSection = sectionFound = SameName(name, section);
      insertAt = i + 1;
    } else if (inSection) {
      if (KeyLine(lines[i], k, v) && SameName(k, key)) {
        lines[i] = entry;
        replaced = true;
        break;
      }
      if (!Trim(lines[i]).empty()) insertAt = i + 1;
    }
  }
  if (!replaced) {
    if (sectionFound) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    }
  }

  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  std::FILE* f = OpenFile(file, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

// Appending creates a missing file and changes no byte of an existing one.
bool IniFileStore::CanWrite(const std::string& file) {
  std::FILE* f = OpenFile(file, "ab");
  if (!f) return false;
  std::fclose(f);
  return true;
}

std::FILE* IniFileStore::OpenFile(const std::string& file, const char* mode) {
  return std::fopen(file.c_str(), mode);
}

}  // namespace hz
