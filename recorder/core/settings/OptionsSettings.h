#pragma once

#include "core/run/ErrorReporter.h"
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
    // The backup timer's interval: one backup call of the log chart.
    static constexpr int32_t kBackupIntervalMs = 20000;

    // Hours per backup-log generation that the backup can count: at least
    // one backup interval, and few enough intervals that the count of calls
    // times the interval stays a 32-bit number of milliseconds.
    static bool isUsableDataFileSizeHours(double hours);

    // decimalSeparator: the user's, used both ways for DataFileSizeHours.
    OptionsSettings(SettingsStore& store, modGlobas& globals, ErrorReporter& errors,
                    char decimalSeparator);

    // A value that does not convert, or hours per generation that the
    // backup cannot use, is reported (-20) and all three take their defaults.
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
