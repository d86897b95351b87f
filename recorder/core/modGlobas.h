#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/SettingsStore.h"

namespace tavrin {

// The program's shared globals. One instance is owned by the main window and
// handed by reference to the parts that share it.
struct modGlobas {
    // The decoder is aligned on block boundaries.
    bool InSync = false;
    // The instrument sends 'F', 'P' or 'R' blocks; cleared when the port changes.
    bool StatusBlocksSeen = false;
    // Backup logging is on.
    bool LogOn = false;
    // Chart slot of the selected tab, 0..4.
    int16_t CurrentChart = 0;
    // The slot's data is saved.
    std::array<bool, 5> Saved{};

    // Settings of the "Options" section.
    // The COM port of the main serial port, 1..10.
    int16_t ComPortNumber = 0;
    // Hours of data per backup-log generation.
    double DataFileSizeHours = 0;

    // Instance registry and log folders.
    // This copy's number in "LogInfo"; 0 until it registers.
    int16_t InstanceNumber = 0;
    // The system name: at most 25 of 0-9, A-Z, a-z and space.
    std::string LogName;
    std::string LogFolderName;
    std::string LogStartDate;
    std::string LogStartTime;
    // The backup-log folder the charts work in; from registration on this
    // copy's folder with a trailing "/".
    std::string LogPath;
    // "LogInfo" as the start-up window found it; no value when the section
    // did not exist.
    std::optional<SettingsStore::Pairs> LogInfoSettings;
    // Folders with backup logs that no record names, in the order found.
    bool UnknownLogFound = false;
    std::vector<std::string> UnknownLogs;

    // Axis panel.
    // The user's decimal symbol; every number of the panel is shown and read with it.
    char DecimalSeparator = '.';

    // Outcome of the last "Save Log".
    bool LogSaved = false;
};

}  // namespace tavrin
