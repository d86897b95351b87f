#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// The backup-log chart's member that appends its stores to this copy's
// backup logs; 0 on success (the stores are emptied) or a run-time error
// number (the stores are kept for the next call).
class BackupLogChart {
public:
    virtual ~BackupLogChart() = default;
    virtual int16_t BackUpLog2(const std::string& LogPath, int16_t InstanceNumber,
                               int32_t BackUpIntervalmSec, double LimitTimeHour) = 0;
};

}  // namespace tavrin
