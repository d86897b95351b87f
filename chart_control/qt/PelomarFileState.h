#pragma once

#include <QTimer>
#include <memory>

#include "QtChartUiServices.h"
#include "core/BackupLog.h"
#include "core/PosixFileSystem.h"

namespace pelomar {

// What the file members of one chart keep between calls.
class PelomarFileState {
public:
    explicit PelomarFileState(QWidget* owner);

    core::PosixFileSystem fs;
    core::BackupLog backupLog{fs};
    QtChartUiServices defaultUi;
    // Hands freed memory back to the system once file reading has settled.
    QTimer releaseMemory;
};

}  // namespace pelomar
