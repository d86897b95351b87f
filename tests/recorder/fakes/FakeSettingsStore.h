#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/SettingsStore.h"
#include "pelomar/RuntimeError.h"

namespace tavrin::test {

// Sections of ordered values in memory. Each kind of change can be told to
// raise a run-time error, the way a store that cannot write would.
class FakeSettingsStore : public SettingsStore {
public:
    std::string GetSetting(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override {
        for (const auto& [name, value] : findSection(section)) {
            if (name == key) return value;
        }
        return defaultValue;
    }
    void SaveSetting(const std::string& section, const std::string& key, const std::string& value) override {
        if (failSave != 0) throw pelomar::RuntimeError(failSave);
        Pairs& pairs = sectionFor(section);
        for (auto& [name, old] : pairs) {
            if (name == key) {
                old = value;
                return;
            }
        }
        pairs.emplace_back(key, value);
    }
    void DeleteSetting(const std::string& section, const std::string& key) override {
        if (failDelete != 0) throw pelomar::RuntimeError(failDelete);
        for (auto& [name, pairs] : sections) {
            if (name != section) continue;
            std::erase_if(pairs, [&](const auto& p) { return p.first == key; });
        }
    }
    void DeleteSection(const std::string& section) override {
        if (failDelete != 0) throw pelomar::RuntimeError(failDelete);
        std::erase_if(sections, [&](const auto& s) { return s.first == section; });
    }
    Pairs GetAllSettings(const std::string& section) const override { return findSection(section); }

    bool hasSection(const std::string& section) const {
        for (const auto& s : sections) {
            if (s.first == section) return true;
        }
        return false;
    }

    std::vector<std::pair<std::string, Pairs>> sections;
    int32_t failSave = 0;
    int32_t failDelete = 0;

private:
    Pairs findSection(const std::string& section) const {
        for (const auto& [name, pairs] : sections) {
            if (name == section) return pairs;
        }
        return {};
    }
    Pairs& sectionFor(const std::string& section) {
        for (auto& [name, pairs] : sections) {
            if (name == section) return pairs;
        }
        return sections.emplace_back(section, Pairs{}).second;
    }
};

}  // namespace tavrin::test
