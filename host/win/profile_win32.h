// The settings file through the platform's private-profile functions.
#pragma once

#include "profile.h"

namespace hz::win {

class Win32ProfileStore final : public ProfileStore {
 public:
  std::string ReadString(const std::string& section, const std::string& key, const std::string& file,
                         std::size_t bufferSize) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override;
  LeadByteTest LeadBytes() const override;
};

}  // namespace hz::win
