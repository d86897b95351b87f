#pragma once

#include "core/BackupLogChart.h"
#include "pelomar/Pelomar.h"

namespace tavrin {

// The backup-log chart control as the backup tick calls it.
class PelomarBackupChart : public BackupLogChart {
public:
    explicit PelomarBackupChart(pelomar::Pelomar& chart) : chart_(chart) {}

    int16_t BackUpLog2(const std::string& LogPath, int16_t InstanceNumber, int32_t BackUpIntervalmSec,
                       double LimitTimeHour) override {
        return chart_.BackUpLog2(LogPath, InstanceNumber, BackUpIntervalmSec, LimitTimeHour);
    }

private:
    pelomar::Pelomar& chart_;
};

}  // namespace tavrin
