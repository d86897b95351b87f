#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/Guard.h"

#include "core/run/Clock.h"
#include "core/run/ErrorLogFile.h"
#include "core/run/SerialPort.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// Appends a two-line entry for a fault (no run-time error) in a handler; a
// failed write is dropped.
void appendFault(ErrorLogFile& logFile, const Clock& clock, const std::string& handler,
                 const std::string& what) noexcept;

// The one entry for every failure of the recorder: message boxes for the
// user's operations, the error log with a beep for the link and the protocol.
class ErrorReporter {
public:
    // stopRecordingAndLogging runs after the out-of-memory box.
    ErrorReporter(UiServices& ui, ErrorLogFile& logFile, const Clock& clock, modGlobas& globals,
                  const SerialPort& port, std::function<void()> stopRecordingAndLogging);

    // Detail: for a protocol error (-10, -11, -12) what was received and the
    // bytes before it, which from then on follows every entry of the error
    // log; for unreadable settings (-20) the text of the run-time error.
    void HandelError(int16_t ErrorCode, const std::string& Detail = "");
    // Beeps, then appends a two-line entry; a failed write is dropped.
    void LogError(const std::string& message);

    // Runs an event handler so that nothing leaves it: an expected run-time
    // error ends it as before, anything else is written to the error log as
    // a fault of `handler`, and the program runs on.
    template <typename Body>
    void guard(const char* handler, Body&& body) noexcept {
        pelomar::guardHandler(body, [&](const char* what) { LogFault(handler, what); });
    }
    // Appends a two-line entry for a fault (no run-time error) in a handler.
    void LogFault(const std::string& handler, const std::string& what) noexcept;

private:
    void box(const std::string& text, const std::string& title, UiServices::Icon icon);

    UiServices& ui_;
    ErrorLogFile& logFile_;
    const Clock& clock_;
    modGlobas& globals_;
    const SerialPort& port_;
    std::function<void()> stopRecordingAndLogging_;
    // Detail of the most recent protocol error; empty until the first.
    std::string lastProtocolDetail_;
};

}  // namespace tavrin
