#pragma once

#include <array>
#include <cstdint>

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
};

}  // namespace tavrin
