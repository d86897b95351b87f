#pragma once

#include <array>
#include <cstdint>
#include <string>

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

    // This copy's place among the running copies.
    // Number in the instance registry; 0 until the copy registers.
    int16_t InstanceNumber = 0;
    // The backup-log folder, ending in a backslash once set.
    std::string LogPath;
};

}  // namespace tavrin
