// Random bytes, split into random receive events and ticks, with the user's
// commands and port events mixed in: the decoder must never crash, read
// outside its ring, hang or let its counters run away.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "fakes/RecorderRig.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tavrin;
    using namespace tavrin::test;
    FuzzedDataProvider in(data, size);
    RecorderRig rig;
    rig.globals().LogOn = in.ConsumeBool();
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange<int>(0, 9)) {
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
    }
    // Whatever is left decodes in bounded time.
    for (int i = 0; i < 4; ++i) rig.tick();
    return 0;
}
