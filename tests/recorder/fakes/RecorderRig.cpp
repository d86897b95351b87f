#include "fakes/RecorderRig.h"

namespace tavrin::test {

RecorderRig::RecorderRig() {
    rec = std::make_unique<Recorder>(RecorderServices{
        port, live, log, controls, ui, errorLog, clock, TimerProcess, TimerCheckComData,
        TimerSaveLog, TimerStopWaitForMethod});
    TimerProcess.start();
}

void RecorderRig::align() {
    receive(point());
    tick();
}

}  // namespace tavrin::test
