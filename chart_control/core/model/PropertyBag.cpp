#include "pelomar/PropertyBag.h"

#include <algorithm>

namespace pelomar {

namespace {
auto findEntry(std::vector<std::pair<std::string, PropertyValue>>& entries, const std::string& name) {
    return std::find_if(entries.begin(), entries.end(),
                        [&](const auto& e) { return e.first == name; });
}
}  // namespace

PropertyValue MemoryPropertyBag::ReadProperty(const std::string& name, const PropertyValue& defaultValue) {
    auto it = findEntry(entries_, name);
    return it == entries_.end() ? defaultValue : it->second;
}

void MemoryPropertyBag::WriteProperty(const std::string& name, const PropertyValue& value,
                                      const PropertyValue& defaultValue) {
    auto it = findEntry(entries_, name);
    if (value == defaultValue) {
        if (it != entries_.end()) entries_.erase(it);
        return;
    }
    if (it != entries_.end()) {
        it->second = value;
    } else {
        entries_.emplace_back(name, value);
    }
}

void MemoryPropertyBag::set(const std::string& name, const PropertyValue& value) {
    auto it = findEntry(entries_, name);
    if (it != entries_.end()) {
        it->second = value;
    } else {
        entries_.emplace_back(name, value);
    }
}

}  // namespace pelomar
