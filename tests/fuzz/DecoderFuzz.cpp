// Random bytes, split into random receive events and ticks, with the user's
// commands and port events mixed in: the decoder must never crash, read
// outside its ring, hang or let its counters run away, and the run state
// must stay consistent.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "core/run/LogControl.h"
#include "fakes/FakeBackupChart.h"
#include "fakes/FakeNoDataDialog.h"
#include "fakes/RecorderRig.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void checkRunState(tavrin::test::RecorderRig& rig) {
    using tavrin::RunControl;
    const RunControl& run = rig.run();
    check(run.EventCount() >= 0 && run.LogEventCount() >= 0);
    check(run.PendingLabel() >= RunControl::kNone && run.PendingLabel() <= RunControl::kMark);
    check(run.LogPendingLabel() >= RunControl::kNone && run.LogPendingLabel() <= RunControl::kMark);
    // Every log point is counted, and labels stand at the previous one's time.
    check(run.LogPointCount() == rig.log.points());
    check(run.LogTime() == (run.LogPointCount() == 0
                                ? 0.f
                                : static_cast<float>((run.LogPointCount() - 1) / RunControl::kLogPointsPerMinute)));
    check(run.WaitingForMethod() == rig.TimerStopWaitForMethod.isActive());
    // A pause belongs to a recording, and a log pause to a log run.
    check(!run.Paused() || run.Recording());
    check(!run.LogPaused() || run.LogRunning());
    // Nothing waits for the live chart once recording has stopped.
    check(run.Recording() ||
          (run.PendingLabel() == RunControl::kNone && !run.EndPending() && !run.PausePending()));
    // Record is off from the start of a recording to its end, and on while
    // aligned and not recording.
    using Item = tavrin::MainWindowControls::Item;
    for (const Item record : {Item::mnuStart, Item::cmdRecord}) {
        if (run.Recording()) check(rig.controls.isEnabled(record) == 0);
        else if (rig.globals().InSync) check(rig.controls.isEnabled(record) == 1);
    }
}

// A well-formed block, so that the run state is reached, not only the hunt.
tavrin::test::Bytes wholeBlock(FuzzedDataProvider& in) {
    using namespace tavrin::test;
    static constexpr char kTypes[] = "CDUVEFHMPR";
    const char type = kTypes[in.ConsumeIntegralInRange<size_t>(0, sizeof kTypes - 2)];
    switch (type) {
    case 'F':
        return fblock();
    case 'M':
        return method(in.ConsumeRandomLengthString(16));
    case 'E':
    case 'H':
    case 'P':
    case 'R':
        return byteBlock(type, in.ConsumeIntegralInRange<uint8_t>(0, 9));
    default:
        return floatBlock(type, static_cast<float>(in.ConsumeIntegralInRange<int>(-2, 2)) * 0.5f);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tavrin;
    using namespace tavrin::test;
    FuzzedDataProvider in(data, size);
    RecorderRig rig;
    FakeBackupChart backup;
    FakeNoDataDialog noData;
    LogControl logging{rig.decoder(), rig.run(), backup, noData, rig.controls, rig.TimerCheckComData,
                       rig.TimerSaveLog, rig.globals(), rig.rec->errors};
    rig.globals().LogOn = in.ConsumeBool();
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange<int>(0, 13)) {
        case 0:
            rig.tick();
            break;
        case 1:
            rig.run().mnuStart_Click();
            break;
        case 2:
            rig.run().mnuStop_Click();
            break;
        case 3:
            rig.decoder().DisableDataCollection();
            break;
        case 4:
            rig.port.raise(in.ConsumeIntegral<int16_t>());
            break;
        case 5:
            rig.scheduler.advance(in.ConsumeIntegralInRange<int>(0, 20000));
            break;
        case 6:
            logging.mnuLogOn_Click();
            break;
        case 7:
            logging.mnuLogOff_Click();
            break;
        case 8:
        case 9:
        case 10: {
            Bytes blocks;
            for (int n = in.ConsumeIntegralInRange<int>(1, 8); n > 0; --n) {
                const Bytes b = wholeBlock(in);
                blocks.insert(blocks.end(), b.begin(), b.end());
            }
            rig.receive(blocks);
            break;
        }
        default: {
            const size_t n = in.ConsumeIntegralInRange<size_t>(1, 700);
            rig.receive(in.ConsumeBytes<uint8_t>(n));
            break;
        }
        }
        const ComBuffer& ring = rig.decoder().comBuffer();
        check(ring.ByteCount() >= 0 && ring.ByteCount() <= ComBuffer::kSize);
        check(ring.PutIndex() >= 0 && ring.PutIndex() < ComBuffer::kSize);
        check(ring.TakeIndex() >= 0 && ring.TakeIndex() < ComBuffer::kSize);
        check((ring.TakeIndex() + ring.ByteCount()) % ComBuffer::kSize == ring.PutIndex());
        check(!rig.decoder().ComBusy);
        checkRunState(rig);
    }
    // Whatever is left decodes in bounded time.
    for (int i = 0; i < 4; ++i) rig.tick();
    return 0;
}
