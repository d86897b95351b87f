#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/run/BackupLogChart.h"

namespace tavrin::test {

// Records each backup call; answers with `result` (0, or the error number of
// a failing append).
class FakeBackupChart : public BackupLogChart {
public:
    struct Call {
        std::string LogPath;
        int16_t InstanceNumber;
        int32_t BackUpIntervalmSec;
        double LimitTimeHour;
    };

    int16_t BackUpLog2(const std::string& LogPath, int16_t InstanceNumber, int32_t BackUpIntervalmSec,
                       double LimitTimeHour) override {
        calls.push_back({LogPath, InstanceNumber, BackUpIntervalmSec, LimitTimeHour});
        return result;
    }

    int16_t result = 0;
    std::vector<Call> calls;
};

}  // namespace tavrin::test
