#pragma once

#include <string>
#include <vector>

#include "core/SettingsStore.h"

namespace tavrin {

// The settings store over one INI-like file shared by every running copy.
// Reads see a whole file; every change locks a companion ".lock" file, reads
// the current text, writes the new one beside it, flushes it and renames it
// over the old, so a crash leaves the old or the new file, never half of one,
// and copies that change values at the same time lose none of them.
// Sections and names match in any letter case, as the platform's store did.
// A failing read or write raises pelomar::RuntimeError; a missing file reads
// as an empty store.
class SettingsFile : public SettingsStore {
public:
    explicit SettingsFile(std::string path);

    // $XDG_CONFIG_HOME/tavrin-ms/settings.ini (else ~/.config/...); the
    // folder is created.
    static std::string defaultPath();

    std::string GetSetting(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    void SaveSetting(const std::string& section, const std::string& key, const std::string& value) override;
    void DeleteSetting(const std::string& section, const std::string& key) override;
    void DeleteSection(const std::string& section) override;
    Pairs GetAllSettings(const std::string& section) const override;

    struct Section {
        std::string name;
        Pairs values;
    };
    using Document = std::vector<Section>;

    // The file's text and back; names and values may hold any byte.
    static Document parse(const std::string& text);
    static std::string format(const Document& document);

private:
    Document read() const;
    template <typename Change>
    void change(Change&& apply);

    std::string path_;
};

}  // namespace tavrin
