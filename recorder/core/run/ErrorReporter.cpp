#include "core/run/ErrorReporter.h"

#include <utility>

#include "core/ErrorCodes.h"
#include "common/RuntimeErrors.h"

namespace tavrin {

namespace {
constexpr const char* kProgramTitle = "Tavrin MS";
constexpr const char* kErrorTitle = "ERROR!";
}  // namespace

ErrorReporter::ErrorReporter(UiServices& ui, ErrorLogFile& logFile, const Clock& clock,
                             modGlobas& globals, const SerialPort& port,
                             std::function<void()> stopRecordingAndLogging)
    : ui_(ui),
      logFile_(logFile),
      clock_(clock),
      globals_(globals),
      port_(port),
      stopRecordingAndLogging_(std::move(stopRecordingAndLogging)) {}

void ErrorReporter::box(const std::string& text, const std::string& title, UiServices::Icon icon) {
    (void)ui_.messageBox(text, title, UiServices::Buttons::Ok, icon);
}

void ErrorReporter::HandelError(int16_t ErrorCode, const std::string& Detail) {
    using Icon = UiServices::Icon;
    if (ErrorCode == code::kUnknownDataType || ErrorCode == code::kUnknownDataParameter ||
        ErrorCode == code::kLostSync)
        lastProtocolDetail_ = Detail;
    switch (ErrorCode) {
    case code::kPrintSetupFailed:
        box("Cannot Load Print Setup dialog box.", kErrorTitle, Icon::Exclamation);
        break;
    case code::kExportFailed:
        box("Cannot Export.", kErrorTitle, Icon::Exclamation);
        break;
    case code::kNoBackupLog:
        box("Serious Data Error! Most recent data collected is permanently lost.", kErrorTitle,
            Icon::None);
        break;
    case code::kSettingsUnreadable:
        box("Cannot load configuration file.\r" + Detail + "\rUsing default values.", kErrorTitle,
            Icon::Exclamation);
        break;
    case code::kTabRereadFailed:
        box("Disk reading error while closing", "FILE CLOSE ERROR!", Icon::None);
        break;
    case code::kLogRebuildFailed:
        box("Serious Data Error! Most recent data collected is permanently lost.\r"
            "Unable to save the log file",
            kErrorTitle, Icon::None);
        break;
    case code::kDataSaveFailed:
        box("An error occurred while saving the data.  The data was NOT saved.", "FILE SAVE ERROR!",
            Icon::None);
        break;
    case code::kOutOfMemory:
        box("Out of memory, Recording and Logging stopped.  Please exit Tavrin.", kProgramTitle,
            Icon::None);
        if (stopRecordingAndLogging_) stopRecordingAndLogging_();
        break;
    case code::kFirstSyncNotFound:
        LogError("First Sync not found");
        break;
    case code::kUnknownDataType:
        globals_.InSync = false;
        LogError("ERROR - Unknown data type.");
        break;
    case code::kUnknownDataParameter:
        globals_.InSync = false;
        LogError("ERROR - Unknown data parameter.");
        break;
    case code::kLostSync:
        globals_.InSync = false;
        LogError("ERROR - Lost Sync.");
        break;
    case code::kEvSend:
    case code::kEvDsr:
    case code::kEvCd:
    case code::kEvRing:
    case code::kEvEof:
    case code::kErFrame:
    case code::kErRxParity:
        break;
    case code::kEvCts:
        if (port_.InBufferCount() > code::kPortInBufferSize)
            LogError("ERROR - Communication buffer full.");
        break;
    case code::kErBreak:
        LogError("ERROR - Break signal received.");
        break;
    case code::kErCtsTimeout:
        LogError("ERROR - Clear-to-send timeout.");
        break;
    case code::kErDsrTimeout:
        LogError("ERROR - Data-set ready timeout.");
        break;
    case code::kErOverrun:
        LogError("The COM Port hardware is unable to keep up with the data transmission.");
        break;
    case code::kErCdTimeout:
        LogError("ERROR - Carrier detect timeout.");
        break;
    case code::kErRxOver:
        LogError("ERROR - Receive buffer overflow.");
        break;
    case code::kErTxFull:
        LogError("ERROR - Transmit buffer full.");
        break;
    default:
        LogError(pelomar::core::errorText(ErrorCode));
        break;
    }
}

void ErrorReporter::LogError(const std::string& message) {
    ui_.beep();
    // A log that cannot be written must not stop the run it reports on.
    (void)logFile_.append(clock_.nowText() + "\r\n" + message + lastProtocolDetail_ + "\r\n");
}

void ErrorReporter::LogFault(const std::string& handler, const std::string& what) noexcept {
    appendFault(logFile_, clock_, handler, what);
}

void appendFault(ErrorLogFile& logFile, const Clock& clock, const std::string& handler,
                 const std::string& what) noexcept {
    try {
        (void)logFile.append(clock.nowText() + "\r\nUnexpected error in " + handler + ": " + what + "\r\n");
    } catch (...) {
        // Nothing more can be done for a trace that cannot be built.
    }
}

}  // namespace tavrin
