#include "controls/property_bag.h"

#include <algorithm>

namespace hz::controls {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

bool operator==(const FontDescription& a, const FontDescription& b) {
  return a.face == b.face && a.points == b.points && a.weight == b.weight && a.italic == b.italic &&
         a.underline == b.underline && a.strikethrough == b.strikethrough && a.charset == b.charset;
}

PropertyBag::PropertyBag(std::initializer_list<std::pair<std::string, PropertyValue>> entries) {
  // A name given twice keeps its last value.
  for (const auto& entry : entries) {
    const std::string& name = entry.first;
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&name](const auto& e) { return SameName(e.first, name); });
    if (it == entries_.end())
      entries_.push_back(entry);
    else
      it->second = entry.second;
  }
}

void PropertyBag::WriteProperty(std::string_view name, const PropertyValue& value,
                                const PropertyValue& defaultValue) {
  auto it =
      std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return SameName(e.first, name); });
  if (value == defaultValue) {
    if (it != entries_.end()) entries_.erase(it);
  } else if (it != entries_.end()) {
    it->second = value;
  } else {
    entries_.emplace_back(std::string(name), value);
  }
}

const PropertyValue* PropertyBag::Find(std::string_view name) const {
  auto it =
      std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return SameName(e.first, name); });
  return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace hz::controls
