#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "QtChartUiServices.h"
#include "core/files/BackupLog.h"
#include "common/PosixFileSystem.h"

namespace pelomar {

// What the file members of one chart keep between calls.
class PelomarFileState {
public:
    // `compact` gives back the stores' room that reading left; it runs when
    // the buffer is gone, so that its copies fit where the buffer was.
    PelomarFileState(QWidget* owner, std::function<void()> compact);

    core::PosixFileSystem fs;
    core::BackupLog backupLog{fs};
    QtChartUiServices defaultUi;
    // The bytes of the last file read, kept while files are read one after
    // another.
    std::vector<uint8_t> readBuffer;
    // Lets the buffer go and hands freed memory back to the system once file
    // reading has settled.
    QTimer releaseMemory;
};

}  // namespace pelomar
