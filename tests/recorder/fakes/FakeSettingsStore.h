#pragma once

#include <algorithm>
#include <cctype>
#include <string>

#include "core/SettingsStore.h"
#include "common/RuntimeError.h"

namespace tavrin::test {

// An in-memory settings store: sections and names match in any case, values
// keep their insertion order. Reads and writes can each be told to fail with
// a run-time error number, and saves and deletions apart.
class FakeSettingsStore : public SettingsStore {
public:
    struct Section {
        std::string name;
        Pairs values;
    };

    std::string GetSetting(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override {
        failIf(failReads);
        const Section* s = find(section);
        if (s == nullptr) return defaultValue;
        const auto it = std::find_if(s->values.begin(), s->values.end(),
                                     [&](const auto& p) { return same(p.first, key); });
        return it == s->values.end() ? defaultValue : it->second;
    }
    void SaveSetting(const std::string& section, const std::string& key, const std::string& value) override {
        failIf(failWrites);
        failIf(failSave);
        ++writes;
        Section* s = find(section);
        if (s == nullptr) s = &sections.emplace_back(Section{section, {}});
        for (auto& p : s->values)
            if (same(p.first, key)) {
                p.second = value;
                return;
            }
        s->values.emplace_back(key, value);
    }
    void DeleteSetting(const std::string& section, const std::string& key) override {
        failIf(failWrites);
        failIf(failDelete);
        if (Section* s = find(section))
            std::erase_if(s->values, [&](const auto& p) { return same(p.first, key); });
    }
    void DeleteSection(const std::string& section) override {
        failIf(failWrites);
        failIf(failDelete);
        std::erase_if(sections, [&](const Section& s) { return same(s.name, section); });
    }
    Pairs GetAllSettings(const std::string& section) const override {
        failIf(failReads);
        const Section* s = find(section);
        return s == nullptr ? Pairs{} : s->values;
    }

    bool hasSection(const std::string& section) const { return find(section) != nullptr; }

    std::vector<Section> sections;
    int32_t failReads = 0;
    int32_t failWrites = 0;
    int32_t failSave = 0;
    int32_t failDelete = 0;
    int writes = 0;

private:
    static bool same(const std::string& a, const std::string& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
               });
    }
    static void failIf(int32_t number) {
        if (number != 0) throw pelomar::RuntimeError(number);
    }
    const Section* find(const std::string& name) const {
        for (const Section& s : sections)
            if (same(s.name, name)) return &s;
        return nullptr;
    }
    Section* find(const std::string& name) {
        for (Section& s : sections)
            if (same(s.name, name)) return &s;
        return nullptr;
    }
};

}  // namespace tavrin::test
