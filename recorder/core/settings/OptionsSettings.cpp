#include "core/settings/OptionsSettings.h"

#include <cmath>
#include <cstdint>

#include "core/ErrorCodes.h"
#include "common/RuntimeErrors.h"
#include "core/SettingText.h"
#include "common/RuntimeError.h"

namespace tavrin {

OptionsSettings::OptionsSettings(SettingsStore& store, modGlobas& globals, ErrorReporter& errors,
                                 char decimalSeparator)
    : store_(store), globals_(globals), errors_(errors), decimalSeparator_(decimalSeparator) {}

void OptionsSettings::LoadSettings() {
    int32_t failure = 0;
    try {
        globals_.ComPortNumber = textToInteger(
            store_.GetSetting(kSection, "ComPortNumber", std::to_string(kDefaultComPortNumber)),
            decimalSeparator_);
        globals_.LogOn = textToBoolean(
            store_.GetSetting(kSection, "DataLogging", booleanToText(kDefaultLogOn)), decimalSeparator_);
        globals_.DataFileSizeHours = textToDouble(
            store_.GetSetting(kSection, "DataFileSizeHours",
                              doubleToText(kDefaultDataFileSizeHours, decimalSeparator_)),
            decimalSeparator_);
        if (!isUsableDataFileSizeHours(globals_.DataFileSizeHours)) {
            throw pelomar::RuntimeError(pelomar::core::err::kInvalidProcedureCall);
        }
        return;
    } catch (const pelomar::RuntimeError& e) {
        failure = e.number();
    } catch (...) {
        failure = pelomar::core::err::kPathFileAccessError;
    }
    errors_.HandelError(code::kSettingsUnreadable, pelomar::core::errorText(failure));
    SetDefaultSettings();
}

bool OptionsSettings::isUsableDataFileSizeHours(double hours) {
    constexpr double kMsPerHour = 3600000.0;
    if (!std::isfinite(hours)) return false;
    const double ms = hours * kMsPerHour;
    return ms >= kBackupIntervalMs && ms + kBackupIntervalMs <= static_cast<double>(INT32_MAX);
}

void OptionsSettings::SaveSettings() {
    store_.SaveSetting(kSection, "ComPortNumber", std::to_string(globals_.ComPortNumber));
    store_.SaveSetting(kSection, "DataLogging", booleanToText(globals_.LogOn));
    store_.SaveSetting(kSection, "DataFileSizeHours",
                       doubleToText(globals_.DataFileSizeHours, decimalSeparator_));
}

void OptionsSettings::applyDefaults(modGlobas& globals) {
    globals.ComPortNumber = kDefaultComPortNumber;
    globals.LogOn = kDefaultLogOn;
    globals.DataFileSizeHours = kDefaultDataFileSizeHours;
}

}  // namespace tavrin
