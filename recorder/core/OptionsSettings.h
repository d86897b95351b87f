#pragma once

#include "core/ErrorReporter.h"
#include "core/SettingsStore.h"
#include "core/modGlobas.h"

namespace tavrin {

// The "Options" section of the settings store: the COM port, data logging and
// the hours per backup-log generation, read at load and written at exit.
class OptionsSettings {
public:
    static constexpr const char* kSection = "Options";
    static constexpr int16_t kDefaultComPortNumber = 1;
    static constexpr bool kDefaultLogOn = true;
    static constexpr double kDefaultDataFileSizeHours = 24.0;

    // decimalSeparator: the user's, used both ways for DataFileSizeHours.
    OptionsSettings(SettingsStore& store, modGlobas& globals, ErrorReporter& errors,
                    char decimalSeparator);

    // A value that does not convert is reported (-20) and all three take
    // their defaults.
    void LoadSettings();
    // Raises the store's error; the caller ignores it.
    void SaveSettings();
    void SetDefaultSettings() { applyDefaults(globals_); }
    static void applyDefaults(modGlobas& globals);

private:
    SettingsStore& store_;
    modGlobas& globals_;
    ErrorReporter& errors_;
    char decimalSeparator_;
};

}  // namespace tavrin
