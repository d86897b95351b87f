#pragma once

#include <memory>

#include "core/run/Recorder.h"
#include "fakes/Blocks.h"
#include "fakes/FakeChart.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeScheduler.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/FakeUi.h"

namespace tavrin::test {

// The recorder's logic with every service faked, as the main window holds it
// after load: the decoder tick running, no link yet.
struct RecorderRig {
    RecorderRig();

    // Bytes arrive at the port.
    void receive(const Bytes& bytes) { port.receive(bytes); }
    // One decoder interval passes.
    void tick() { scheduler.advance(TimerProcess.intervalMs()); }
    // Streams a leading point and ticks until the decoder is aligned on it.
    void align();

    FakeScheduler scheduler;
    FakeTimer TimerProcess{scheduler, 700};
    FakeTimer TimerCheckComData{scheduler, 5000};
    FakeTimer TimerSaveLog{scheduler, 20000};
    FakeTimer TimerStopWaitForMethod{scheduler, 15000};
    FakeSerialPort port;
    FakeChart live;
    FakeChart log;
    FakeControls controls;
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;
    std::unique_ptr<Recorder> rec;

    // Shorthands into the recorder.
    RunControl& run() { return rec->run; }
    BlockDecoder& decoder() { return rec->decoder; }
    modGlobas& globals() { return rec->globals; }
};

}  // namespace tavrin::test
