#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tavrin {

// The per-user settings store of the program: sections of named text values
// that keep their insertion order. Several copies of the program share it, so
// every change is a whole read-modify-write of the store. Implemented over an
// INI-like file in platform/, and by a fake in the tests.
class SettingsStore {
public:
    using Pairs = std::vector<std::pair<std::string, std::string>>;

    virtual ~SettingsStore() = default;

    // The value, or `defaultValue` when the section or the name is absent.
    virtual std::string GetSetting(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const = 0;
    virtual void SaveSetting(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // Deleting what is not there raises nothing.
    virtual void DeleteSetting(const std::string& section, const std::string& key) = 0;
    virtual void DeleteSection(const std::string& section) = 0;
    // Every (name, value) of the section in insertion order; empty when the
    // section does not exist.
    virtual Pairs GetAllSettings(const std::string& section) const = 0;
};

}  // namespace tavrin
