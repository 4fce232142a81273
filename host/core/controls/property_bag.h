// Named values a container keeps for each control it places, the way a form
// stores its controls' design-time settings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace hz::controls {

// A font as a container stores it; the face name is UTF-8.
struct FontDescription {
  std::string face;
  double points = 9.75;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  std::uint8_t charset = 0;
};
bool operator==(const FontDescription& a, const FontDescription& b);
inline bool operator!=(const FontDescription& a, const FontDescription& b) { return !(a == b); }

// Boolean, byte, 16-bit integer, 32-bit colour, text, font.
using PropertyValue =
    std::variant<bool, std::uint8_t, std::int16_t, std::uint32_t, std::string, FontDescription>;

class PropertyBag {
 public:
  PropertyBag() = default;
  PropertyBag(std::initializer_list<std::pair<std::string, PropertyValue>> entries);

  // A value equal to the default is not stored (and any stored value goes).
  void WriteProperty(std::string_view name, const PropertyValue& value, const PropertyValue& defaultValue);

  // The stored value; the default when the name is missing or holds another type.
  template <typename T>
  T ReadProperty(std::string_view name, const T& defaultValue) const {
    const PropertyValue* stored = Find(name);
    if (stored)
      if (const T* value = std::get_if<T>(stored)) return *value;
    return defaultValue;
  }

  bool Contains(std::string_view name) const { return Find(name) != nullptr; }
  std::size_t Size() const { return entries_.size(); }

 private:
  const PropertyValue* Find(std::string_view name) const;

  // Names compare without regard to ASCII case; the first spelling stays.
  std::vector<std::pair<std::string, PropertyValue>> entries_;
};

}  // namespace hz::controls
