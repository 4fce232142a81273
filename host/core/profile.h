// The settings file's seam: the platform's private-profile functions on
// Windows, our own INI reader and writer everywhere else.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "paths.h"

namespace hz {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The value as the platform leaves it in a buffer of `bufferSize` bytes:
  // blanks around it and one pair of enclosing quotes removed, cut to
  // bufferSize - 1 bytes; empty when the file, section or key is missing.
  virtual std::string ReadString(const std::string& section, const std::string& key, const std::string& file,
                                 std::size_t bufferSize) = 0;
  // Writes one key; false when the file could not be written.
  virtual bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file) = 0;
  // Whether the file can be written now, asked before a save so that a save
  // that cannot succeed writes nothing. A store that cannot tell says yes;
  // the writes' own results still count.
  virtual bool CanWrite(const std::string& /*file*/) { return true; }
  // The code page of the values read, for walking them by characters; null
  // when every byte is a character of its own.
  virtual LeadByteTest LeadBytes() const { return nullptr; }
};

// Reads one key through a 256-byte reply buffer, so values come back cut to 255 bytes.
std::string Profile_Read(ProfileStore& store, const std::string& section, const std::string& key,
                         const std::string& file);

// Writes one key; section and key names are limited to 127 bytes.
bool Profile_Write(ProfileStore& store, const std::string& section, const std::string& key,
                   const std::string& value, const std::string& file);

// INI files read and written by us, with the visible behaviour of the
// platform's functions: sections and keys matched without regard to ASCII
// case, values trimmed of blanks on reading and written verbatim, the rest of
// the file kept as it was. Values are in the code page that `leadBytes`
// describes (null: one byte per character). Names and values are bytes, so
// the file keeps the exact bytes of its keys on every code page.
class IniFileStore : public ProfileStore {
 public:
  explicit IniFileStore(LeadByteTest leadBytes = nullptr) : leadBytes_(leadBytes) {}
  std::string ReadString(const std::string& section, const std::string& key, const std::string& file,
                         std::size_t bufferSize) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override;
  bool CanWrite(const std::string& file) override;
  LeadByteTest LeadBytes() const override { return leadBytes_; }

 protected:
  // Opens the file as fopen does; a platform whose paths are not narrow text
  // opens them its own way.
  virtual std::FILE* OpenFile(const std::string& file, const char* mode);

 private:
  LeadByteTest leadBytes_;
};

}  // namespace hz
