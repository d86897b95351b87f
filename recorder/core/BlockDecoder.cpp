#include "core/BlockDecoder.h"

#include <cstring>
#include <vector>

#include "core/BusyScope.h"
#include "core/ErrorCodes.h"

namespace tavrin {

namespace {

constexpr int32_t kLedGreen = 0xFF00;
constexpr int32_t kLedOff = 0;

std::string byteText(uint8_t value) {
    std::string text(1, ' ');
    text += std::to_string(value);
    return text;
}

}  // namespace

BlockDecoder::BlockDecoder(SerialPort* port, Timer& timerProcess, Timer& timerCheckComData,
                           Timer& timerSaveLog, MainWindowControls& controls,
                           RecorderChart& liveChart, RecorderChart& logChart, const Clock& clock,
                           modGlobas& globals, RunControl& run, ErrorReporter& errors)
    : port_(port),
      timerProcess_(timerProcess),
      timerCheckComData_(timerCheckComData),
      timerSaveLog_(timerSaveLog),
      controls_(controls),
      liveChart_(liveChart),
      logChart_(logChart),
      clock_(clock),
      globals_(globals),
      run_(run),
      errors_(errors) {}

void BlockDecoder::ComPort_OnComm() {
    DataSeen = true;
    if (port_ == nullptr) return;
    const int16_t event = port_->CommEvent();
    if (event != SerialPort::kEvReceive) {
        errors_.HandelError(event);
        return;
    }
    if (!ComBusy) ReadComData();
}

void BlockDecoder::ReadComData() {
    if (port_ == nullptr || port_->InBufferCount() == 0) return;
    BusyScope busy(ComBusy);
    const std::vector<uint8_t> input = port_->Input();
    if (!input.empty()) newBytesSinceHunt_ = true;
    const int32_t dropped = ComBuffer_.Put(input);
    if (dropped > 0) {
        globals_.InSync = false;
        if (!overflowLogged_) {
            overflowLogged_ = true;
            errors_.LogError("ERROR - Receive ring full; " + std::to_string(dropped) +
                             " unread bytes dropped.");
        }
    }
    // Restarting a running tick on every receive would starve the decoder
    // under a steady stream.
    if (!timerProcess_.isActive()) timerProcess_.start();
}

void BlockDecoder::TimerProcess_Timer() {
    if (ComBuffer_.ByteCount() > 2) ProcessComData();
}

void BlockDecoder::ProcessComData() {
    if (ComBusy) return;
    {
        BusyScope busy(ComBusy);
        timerProcess_.stop();
        ComBuffer_.RestartLook();
        if (globals_.InSync) {
            while (PeekDataBlock()) {
                ComBuffer_.TakeByte();
                dispatch(ComBuffer_.TakeByte());
                ComBuffer_.RestartLook();
            }
        } else {
            FindFirstSync();
        }
        timerProcess_.start();
    }
    if (run_.Recording) run_.DrawNewLivePoints();
}

void BlockDecoder::dispatch(uint8_t type) {
    switch (type) {
    case 'C':
    case 'D':
        HandelCondData();
        break;
    case 'U':
    case 'V':
        HandelUVData(type);
        break;
    case 'E':
        HandelEventData();
        break;
    case 'F':
        HandelFData();
        break;
    case 'H':
        HandelHoldData();
        break;
    case 'M':
        HandelMethodData();
        break;
    case 'P':
        HandelPenStatusData();
        break;
    case 'R':
        HandelRunStatusData();
        break;
    default:
        break;
    }
}

bool BlockDecoder::PeekDataBlock() {
    if (ComBuffer_.LookByteCount() < 3) return false;
    const uint8_t sync = ComBuffer_.LookByte();
    if (sync != SyncByte) {
        errors_.ErrorDetail = "Sub PeekDataBlock; Sync Byte Expected; Actual Byte Received:" + byteText(sync);
        GetLastBytes(0);
        errors_.HandelError(code::kLostSync);
        return false;
    }
    const uint8_t type = ComBuffer_.LookByte();
    switch (type) {
    case 'C':
    case 'D':
    case 'U':
    case 'V':
    case 'F':
        return ComBuffer_.LookByteCount() >= 4;
    case 'E':
    case 'H':
    case 'P':
    case 'R':
        return ComBuffer_.LookByteCount() >= 1;
    case 'M':
        for (int32_t n = 0; ComBuffer_.LookByteCount() > 0;) {
            if (ComBuffer_.LookByte() == SyncByte) return true;
            // At the cut the block is whole once the byte after the text is
            // here, so that a closing byte right at the cut stays the block's.
            if (++n == kMaxMethodTextBytes) return ComBuffer_.LookByteCount() > 0;
        }
        return false;
    default:
        errors_.ErrorDetail =
            "Sub PeekDataBlock; Data Type Byte Expected; Actual Byte Received:" + byteText(type);
        GetLastBytes(0);
        errors_.HandelError(code::kUnknownDataType);
        return false;
    }
}

void BlockDecoder::FindFirstSync() {
    ComBuffer& ring = ComBuffer_;
    bool found = false;
    while (ring.LookByteCount() >= 7) {
        if (ring.LookByte() != SyncByte) {
            ring.TakeByte();
            continue;
        }
        const uint8_t type = ring.LookByte();
        if (type != 'U' && type != 'V') {
            ring.TakeByte();
            ring.TakeByte();
            continue;
        }
        uint8_t after = 0;
        for (int i = 0; i < 5; ++i) after = ring.LookByte();
        if (after == SyncByte) {
            found = true;
            break;
        }
        for (int i = 0; i < 7; ++i) ring.TakeByte();
    }
    const bool newBytes = newBytesSinceHunt_;
    newBytesSinceHunt_ = false;
    if (!found) {
        // Stray bytes left when the instrument stops are reported once, not
        // at every tick from then on.
        if (newBytes) errors_.HandelError(code::kFirstSyncNotFound);
        return;
    }
    // Alignment lost in the middle of a recording does not end its run: the
    // next 'R' 1 would start it again with a second start label.
    if (!run_.Recording) run_.Running = false;
    controls_.setReceiveLedColor(kLedGreen);
    timerCheckComData_.start();
    if (globals_.LogOn)
        timerSaveLog_.start();
    else
        timerSaveLog_.stop();
    if (globals_.LogOn) run_.LogEventCount = run_.EventCount;
    controls_.setEnabled(MainWindowControls::Item::mnuStart, true);
    controls_.setEnabled(MainWindowControls::Item::cmdRecord, true);
    controls_.setEnabled(MainWindowControls::Item::cmdStop, true);
    globals_.InSync = true;
    overflowLogged_ = false;
}

void BlockDecoder::GetLastBytes(int16_t Which) {
    std::string& detail = errors_.ErrorDetail;
    detail += "\r\n";
    const int32_t reference = Which == -1 ? ComBuffer_.TakeIndex() : ComBuffer_.LookIndex();
    int32_t start = reference - 33;
    if (start < 0) start += ComBuffer::kSize;
    for (int32_t i = 0; i < 32; ++i) detail += byteText(ComBuffer_.At(start + i));
}

void BlockDecoder::ReverseBytes(const std::array<uint8_t, 4>& Payload) {
    for (size_t i = 0; i < 4; ++i) FloatBytes.Bytes[i] = Payload[3 - i];
}

float BlockDecoder::takeFloat() {
    std::array<uint8_t, 4> payload{};
    for (uint8_t& b : payload) b = ComBuffer_.TakeByte();
    ReverseBytes(payload);
    float value = 0;
    std::memcpy(&value, FloatBytes.Bytes.data(), sizeof value);
    return value;
}

void BlockDecoder::payloadError(const char* text, uint8_t value) {
    errors_.ErrorDetail = text + byteText(value);
    GetLastBytes(-1);
    errors_.HandelError(code::kUnknownDataParameter);
}

void BlockDecoder::startArmedRun() {
    run_.Recording = true;
    run_.EventCount = 0;
    run_.LogEventCount = 0;
    run_.QueueStart();
    run_.QueueLogStart();
}

void BlockDecoder::HandelCondData() {
    run_.CondValue = takeFloat();
    run_.AddLivePoint();
    run_.AddLogPoint();
}

void BlockDecoder::HandelUVData(uint8_t& DataType) {
    const float value = takeFloat();
    if (run_.StartArmed) {
        run_.StartArmed = false;
        if (DataType == 'V') startArmedRun();
    }
    if (!globals_.StatusBlocksSeen) {
        if (DataType == 'U' && run_.Running && !run_.Paused && run_.Recording) run_.PausePending = true;
        if (DataType == 'V' && run_.Paused) run_.Paused = false;
    }
    UpdateLogRunFlags(DataType);
    run_.UVValue = value;
}

void BlockDecoder::UpdateLogRunFlags(uint8_t& DataType) {
    if (globals_.StatusBlocksSeen) return;
    if (DataType == 'U' && run_.LogRunning && !run_.LogPaused) run_.LogPausePending = true;
    if (DataType == 'V' && run_.LogPaused) run_.LogPaused = false;
}

void BlockDecoder::HandelEventData() {
    const uint8_t value = ComBuffer_.TakeByte();
    switch (value) {
    case 2:
        if (run_.Recording || run_.Paused) run_.QueueLabel(RunControl::kEventMark);
        run_.QueueLogLabel(RunControl::kEventMark);
        break;
    case 3:
        run_.Running = false;
        if (run_.Recording) run_.EndPending = true;
        run_.PausePending = false;
        run_.Paused = false;
        run_.LogEndPending = true;
        run_.LogPausePending = false;
        break;
    case 4:
        if (run_.StartArmed) {
            run_.StartArmed = false;
            startArmedRun();
        } else {
            run_.StartArmed = true;
        }
        break;
    case 8:
        if (run_.Recording) run_.QueueLabel(RunControl::kMark);
        run_.QueueLogLabel(RunControl::kMark);
        break;
    default:
        payloadError("Sub HandelEventData; Event Byte Expected; Actual Byte Received:", value);
        break;
    }
}

void BlockDecoder::HandelFData() {
    for (int i = 0; i < 4; ++i) ComBuffer_.TakeByte();
    globals_.StatusBlocksSeen = true;
}

void BlockDecoder::HandelHoldData() {
    const uint8_t value = ComBuffer_.TakeByte();
    switch (value) {
    case 1:
        if (run_.Recording) run_.QueueLabel(RunControl::kHold);
        run_.QueueLogLabel(RunControl::kHold);
        break;
    case 2:
        if (run_.Recording) run_.QueueLabel(RunControl::kContinue);
        run_.QueueLogLabel(RunControl::kContinue);
        break;
    default:
        payloadError("Sub HandelHoldData; Hold Byte Expected; Actual Byte Received:", value);
        break;
    }
}

void BlockDecoder::HandelMethodData() {
    std::string text;
    while (ComBuffer_.ByteCount() > 0 && static_cast<int32_t>(text.size()) < kMaxMethodTextBytes) {
        const uint8_t b = ComBuffer_.TakeByte();
        if (b == SyncByte) break;
        text += static_cast<char>(b);
    }
    if (static_cast<int32_t>(text.size()) == kMaxMethodTextBytes && ComBuffer_.ByteCount() > 0 &&
        ComBuffer_.At(ComBuffer_.TakeIndex()) == SyncByte)
        ComBuffer_.TakeByte();
    const std::string entry = clock_.nowText() + "\r\n" + text + "\r\n";
    if (run_.Recording || run_.WaitingForMethod || run_.Paused) {
        if (liveChart_.AddMethod(entry, liveChart_.GetDuration()) != 0)
            errors_.HandelError(code::kOutOfMemory);
        run_.TimerStopWaitForMethod_Timer();
    }
    if (globals_.LogOn) {
        if (logChart_.AddMethod(entry, run_.LogTime) != 0) errors_.HandelError(code::kOutOfMemory);
    }
}

void BlockDecoder::HandelPenStatusData() {
    const uint8_t value = ComBuffer_.TakeByte();
    globals_.StatusBlocksSeen = true;
    switch (value) {
    case 0:
        run_.mnuStop_Click();
        break;
    case 1:
        run_.mnuStart_Click();
        break;
    default:
        payloadError("Sub HandelPenStatusData; Pen Byte Expected; Actual Byte Received:", value);
        break;
    }
}

void BlockDecoder::HandelRunStatusData() {
    const uint8_t value = ComBuffer_.TakeByte();
    globals_.StatusBlocksSeen = true;
    RunControl& r = run_;
    switch (value) {
    case 0:
        r.Running = false;
        if (r.Recording || r.Paused) r.PendingLabel = RunControl::kEnd;
        r.LogPendingLabel = RunControl::kEnd;
        break;
    case 1:
        if (r.Running) {
            if (r.Paused)
                r.Paused = false;
            else if (r.Recording)
                r.QueueLabel(RunControl::kContinue);
        } else if (!r.Paused) {
            r.Recording = true;
            r.EventCount = 0;
            r.QueueStart();
        } else {
            r.Paused = false;
        }
        if (r.LogRunning && !r.LogPaused) {
            r.QueueLogLabel(RunControl::kContinue);
        } else if (!r.LogRunning && !r.LogPaused) {
            r.LogEventCount = 0;
            r.QueueLogStart();
        } else {
            r.LogPaused = false;
        }
        break;
    case 2:
        if (r.Recording) r.QueueLabel(RunControl::kPause);
        r.QueueLogLabel(RunControl::kPause);
        break;
    case 3:
        if (r.Recording) r.QueueLabel(RunControl::kHold);
        r.QueueLogLabel(RunControl::kHold);
        break;
    default:
        payloadError("Sub HandelRunStatusData; Run Byte Expected; Actual Byte Received:", value);
        break;
    }
}

void BlockDecoder::DisableDataCollection() {
    BusyScope busy(ComBusy);
    controls_.setReceiveLedColor(kLedOff);
    timerCheckComData_.stop();
    if (run_.Recording) run_.mnuStop_Click();
    controls_.setEnabled(MainWindowControls::Item::mnuStart, false);
    controls_.setEnabled(MainWindowControls::Item::mnuStop, false);
    controls_.setEnabled(MainWindowControls::Item::cmdRecord, false);
    controls_.setEnabled(MainWindowControls::Item::cmdStop, false);
    globals_.InSync = false;
    run_.PendingLabel = RunControl::kNone;
}

}  // namespace tavrin
