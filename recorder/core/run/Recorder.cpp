#include "core/run/Recorder.h"

namespace tavrin {

Recorder::Recorder(const RecorderServices& services)
    : errors(services.ui, services.errorLog, services.clock, globals, services.port,
             [this] {
                 run.mnuStop_Click();
                 run.mnuLogOff_Click();
             }),
      run(services.liveChart, services.logChart, services.controls, services.TimerStopWaitForMethod,
          services.TimerSaveLog, services.clock, globals, axisView, errors),
      decoder(services.port, services.TimerProcess, services.TimerCheckComData,
              services.TimerSaveLog, services.controls, globals, run, errors),
      services_(services) {
    services_.port.setOnComm([this] { onComm(); });
    services_.TimerProcess.setOnTimeout([this] { onTimerProcess(); });
    services_.TimerStopWaitForMethod.setOnTimeout([this] { onTimerStopWaitForMethod(); });
}

Recorder::~Recorder() {
    services_.port.setOnComm({});
    services_.TimerProcess.setOnTimeout({});
    services_.TimerStopWaitForMethod.setOnTimeout({});
}

void Recorder::onComm() noexcept {
    // The bytes stay in the port and are read at the next receive event.
    errors.guard("ComPort_OnComm", [&] { decoder.ComPort_OnComm(); });
}

void Recorder::onTimerProcess() noexcept {
    // What was decoded stays; the rest is decoded at the next tick, which
    // comes whatever this one did.
    errors.guard("TimerProcess_Timer", [&] { decoder.TimerProcess_Timer(); });
    errors.guard("TimerProcess_Timer", [&] {
        if (!services_.TimerProcess.isActive()) services_.TimerProcess.start();
    });
}

void Recorder::onTimerStopWaitForMethod() noexcept {
    errors.guard("TimerStopWaitForMethod_Timer", [&] { run.TimerStopWaitForMethod_Timer(); });
}

}  // namespace tavrin
