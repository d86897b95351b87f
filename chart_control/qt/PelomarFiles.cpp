#include <exception>
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "PelomarFileState.h"
#include "core/model/ChartModel.h"
#include "core/files/DataFile.h"
#include "core/files/LogRebuild.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"
#include "pelomar/Pelomar.h"

#include "EventGuard.h"

namespace pelomar {

namespace {

const char kOlderVersionText[] =
    "This file was created by a previous version of Pelomar Recorder.\rCannot open file.";
const char kOpenErrorText[] = "An error occurred while opening the Data File.  The file was NOT opened.\r";
const char kOpenErrorTitle[] = "FILE OPEN ERROR!";
constexpr int kReleaseMemoryDelayMs = 500;

// The hourglass for the life of a member, restored on every path.
class BusyPointer {
public:
    explicit BusyPointer(ChartUiServices& ui) : ui_(ui) { ui_.setBusy(true); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    ~BusyPointer() { ui_.setBusy(false); }

private:
    ChartUiServices& ui_;
};

}  // namespace

// The room of a file's bytes and of the stores it replaced is large; four
// open files would keep it. It goes back once reading has settled, so that
// files read one after another reuse it.
PelomarFileState::PelomarFileState(QWidget* owner, std::function<void()> compact) : defaultUi(owner) {
    releaseMemory.setSingleShot(true);
    releaseMemory.setInterval(kReleaseMemoryDelayMs);
    QObject::connect(&releaseMemory, &QTimer::timeout, [this, compact = std::move(compact)] {
        std::vector<uint8_t>().swap(readBuffer);
        compact();
#if defined(__GLIBC__)
        malloc_trim(0);
#endif
    });
}

PelomarFileState& Pelomar::files() {
    if (!files_) files_ = std::make_shared<PelomarFileState>(this, [this] { model_->points().releaseEmptyTail(); });
    return *files_;
}

ChartUiServices& Pelomar::ui() { return ui_ != nullptr ? *ui_ : files().defaultUi; }

// --- data file ----------------------------------------------------------------------

bool Pelomar::saveChartFile(const std::string& fileName, int64_t pointRecords) {
    BusyPointer busy(ui());
    try {
        // The points go to the file from the store, without a copy.
        const core::EncodedDataFile file = core::chartFile(*model_, pointRecords);
        return core::replaceFile(files().fs, fileName, file.pieces()) == 0;
    } catch (const std::exception&) {
        return false;
    }
}

bool Pelomar::SaveToFile(const std::string& FileName) { return saveChartFile(FileName, -1); }

bool Pelomar::SaveSelectedToFile(const std::string& FileName) {
    BusyPointer busy(ui());
    try {
        std::vector<uint8_t> bytes;
        if (core::selectionFileBytes(*model_, bytes) != 0) return false;
        return core::replaceFile(files().fs, FileName, bytes) == 0;
    } catch (const std::exception&) {
        return false;
    }
}

bool Pelomar::ReadFromFile(const std::string& FileName) {
    BusyPointer busy(ui());
    core::DataFileContent content;
    core::ReadResult r;
    try {
        // As readDataFile, into a buffer that the next file reuses.
        std::vector<uint8_t>& bytes = files().readBuffer;
        if (const int32_t e = files().fs.readFile(FileName, bytes))
            r = {core::ReadStatus::Failed, e};
        else
            r = core::decodeDataFile(bytes, content);
    } catch (const std::bad_alloc&) {
        r = {core::ReadStatus::Failed, core::err::kOutOfMemory};
    }
    if (r.status == core::ReadStatus::OlderVersion) {
        ui().MsgBox(kOlderVersionText, ChartUiServices::kOKOnly, "");
        return false;
    }
    const bool ok = r.status == core::ReadStatus::Read;
    if (ok) {
        core::commitDataFile(*model_, std::move(content));
    } else {
        ui().MsgBox(kOpenErrorText + core::errorText(r.error), ChartUiServices::kOKOnly, kOpenErrorTitle);
    }
    guardEvent("ResetZoom", [&] { ResetZoom(false); });
    files().releaseMemory.start();
    return ok;
}

// --- backup logs ----------------------------------------------------------------------

int16_t Pelomar::BackUpLog(int32_t BackUpIntervalmSec, double LimitTimeHour) {
    try {
        return files().backupLog.BackUpLog(*model_, BackUpIntervalmSec, LimitTimeHour);
    } catch (const std::bad_alloc&) {
        return static_cast<int16_t>(core::err::kOutOfMemory);
    }
}

int16_t Pelomar::BackUpLog2(const std::string& LogPath, int16_t InstanceNumber, int32_t BackUpIntervalmSec,
                            double LimitTimeHour) {
    try {
        return files().backupLog.BackUpLog2(*model_, LogPath, InstanceNumber, BackUpIntervalmSec, LimitTimeHour);
    } catch (const std::bad_alloc&) {
        return static_cast<int16_t>(core::err::kOutOfMemory);
    }
}

void Pelomar::ClearLog() { files().backupLog.ClearLog(*model_); }

void Pelomar::ClearLog2(const std::string& LogPath, int16_t InstanceNumber) {
    files().backupLog.ClearLog2(*model_, LogPath, InstanceNumber);
}

bool Pelomar::IsLogFileExist() { return files().backupLog.IsLogFileExist(*model_); }

bool Pelomar::IsLogFileExist2(const std::string& LogPath) { return files().backupLog.IsLogFileExist2(LogPath); }

// --- log rebuild ------------------------------------------------------------------------

int16_t Pelomar::SaveLog2(const std::string& LogPath, int16_t /*InstanceNumber*/, const std::string& FileName) {
    try {
        return core::rebuildLog(
            *model_, files().fs, LogPath, FileName,
            [this](const std::string& name, int64_t records) { return saveChartFile(name, records); },
            [this](int32_t index) { guardEvent("SaveLog2", [&] { drawEventMark(index); }); });
    } catch (const std::bad_alloc&) {
        model_->ClearData();
        return static_cast<int16_t>(core::err::kOutOfMemory);
    }
}

int16_t Pelomar::SaveLog(const std::string& FileName) { return SaveLog2(model_->controlFolder(), 0, FileName); }

}  // namespace pelomar
