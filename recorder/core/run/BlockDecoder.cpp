#include "core/run/BlockDecoder.h"

#include <cstring>
#include <span>
#include <vector>

#include "core/run/BusyScope.h"
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

BlockDecoder::BlockDecoder(SerialPort& port, Timer& timerProcess, Timer& timerCheckComData,
                           Timer& timerSaveLog, MainWindowControls& controls, modGlobas& globals,
                           RunControl& run, ErrorReporter& errors)
    : port_(port),
      timerProcess_(timerProcess),
      timerCheckComData_(timerCheckComData),
      timerSaveLog_(timerSaveLog),
      controls_(controls),
      globals_(globals),
      run_(run),
      errors_(errors) {}

void BlockDecoder::ComPort_OnComm() {
    DataSeen = true;
    const int16_t event = port_.CommEvent();
    if (event != SerialPort::kEvReceive) {
        errors_.HandelError(event);
        return;
    }
    if (!ComBusy) ReadComData();
}

void BlockDecoder::ReadComData() {
    if (port_.InBufferCount() == 0) return;
    bool decoded = false;
    {
        BusyScope busy(ComBusy);
        const std::vector<uint8_t> input = port_.Input();
        if (!input.empty()) newBytesSinceHunt_ = true;
        std::span<const uint8_t> rest(input);
        // A stream faster than the tick, or the burst after a stall, is
        // decoded as it comes in, so the ring only loses bytes when decoding
        // cannot free any room.
        for (;;) {
            const auto room = static_cast<size_t>(ComBuffer::kSize - ComBuffer_.ByteCount());
            if (rest.size() <= room) break;
            ComBuffer_.Put(rest.first(room));
            rest = rest.subspan(room);
            decodePass(true);
            decoded = true;
            if (ComBuffer_.ByteCount() == ComBuffer::kSize) break;
        }
        const int32_t dropped = ComBuffer_.Put(rest);
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
    if (decoded && (run_.Recording() || run_.LiveDrawOwed())) run_.DrawNewLivePoints();
}

void BlockDecoder::TimerProcess_Timer() {
    if (ComBuffer_.ByteCount() > 2) ProcessComData();
}

void BlockDecoder::ProcessComData() {
    if (ComBusy) return;
    {
        BusyScope busy(ComBusy);
        timerProcess_.stop();
        // After a loss the stream is decoded again as soon as it is aligned,
        // or a steady stream would fill the ring again while the hunt waits.
        decodePass(overflowLogged_);
        timerProcess_.start();
    }
    if (run_.Recording() || run_.LiveDrawOwed()) run_.DrawNewLivePoints();
}

void BlockDecoder::decodePass(bool resumeAfterHunt) {
    ComBuffer_.RestartLook();
    if (globals_.InSync) {
        decodeWholeBlocks();
        if (!resumeAfterHunt || globals_.InSync) return;
        ComBuffer_.RestartLook();
    }
    FindFirstSync();
    if (resumeAfterHunt && globals_.InSync) {
        ComBuffer_.RestartLook();
        decodeWholeBlocks();
    }
}

void BlockDecoder::decodeWholeBlocks() {
    while (PeekDataBlock()) {
        ComBuffer_.TakeByte();
        dispatch(ComBuffer_.TakeByte());
        ComBuffer_.RestartLook();
    }
}

void BlockDecoder::dispatch(uint8_t type) {
    switch (type) {
    case 'C':
    case 'D':
        run_.HandelCondData(takeFloat());
        break;
    case 'U':
    case 'V':
        run_.HandelUVData(type, takeFloat());
        break;
    case 'E': {
        const uint8_t value = ComBuffer_.TakeByte();
        if (!run_.HandelEventData(value))
            payloadError("Sub HandelEventData; Event Byte Expected; Actual Byte Received:", value);
        break;
    }
    case 'F':
        HandelFData();
        break;
    case 'H': {
        const uint8_t value = ComBuffer_.TakeByte();
        if (!run_.HandelHoldData(value))
            payloadError("Sub HandelHoldData; Hold Byte Expected; Actual Byte Received:", value);
        break;
    }
    case 'M':
        run_.HandelMethodData(takeMethodText());
        break;
    case 'P': {
        const uint8_t value = ComBuffer_.TakeByte();
        if (!run_.HandelPenStatusData(value))
            payloadError("Sub HandelPenStatusData; Pen Byte Expected; Actual Byte Received:", value);
        break;
    }
    case 'R': {
        const uint8_t value = ComBuffer_.TakeByte();
        if (!run_.HandelRunStatusData(value))
            payloadError("Sub HandelRunStatusData; Run Byte Expected; Actual Byte Received:", value);
        break;
    }
    default:
        break;
    }
}

bool BlockDecoder::PeekDataBlock() {
    if (ComBuffer_.LookByteCount() < 3) return false;
    const uint8_t sync = ComBuffer_.LookByte();
    if (sync != SyncByte) {
        errors_.HandelError(code::kLostSync, "Sub PeekDataBlock; Sync Byte Expected; Actual Byte Received:" +
                                                 byteText(sync) + GetLastBytes(0));
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
        errors_.HandelError(code::kUnknownDataType,
                            "Sub PeekDataBlock; Data Type Byte Expected; Actual Byte Received:" +
                                byteText(type) + GetLastBytes(0));
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
    run_.StreamAligned();
    controls_.setReceiveLedColor(kLedGreen);
    timerCheckComData_.start();
    if (globals_.LogOn)
        timerSaveLog_.start();
    else
        timerSaveLog_.stop();
    // Record stays off while recording goes on across the realignment.
    controls_.setEnabled(MainWindowControls::Item::mnuStart, !run_.Recording());
    controls_.setEnabled(MainWindowControls::Item::cmdRecord, !run_.Recording());
    controls_.setEnabled(MainWindowControls::Item::cmdStop, true);
    globals_.InSync = true;
    overflowLogged_ = false;
}

std::string BlockDecoder::GetLastBytes(int16_t Which) const {
    std::string detail = "\r\n";
    const int32_t reference = Which == -1 ? ComBuffer_.TakeIndex() : ComBuffer_.LookIndex();
    int32_t start = reference - 33;
    if (start < 0) start += ComBuffer::kSize;
    for (int32_t i = 0; i < 32; ++i) detail += byteText(ComBuffer_.At(start + i));
    return detail;
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
    errors_.HandelError(code::kUnknownDataParameter, text + byteText(value) + GetLastBytes(-1));
}

void BlockDecoder::HandelFData() {
    for (int i = 0; i < 4; ++i) ComBuffer_.TakeByte();
    globals_.StatusBlocksSeen = true;
}

std::string BlockDecoder::takeMethodText() {
    std::string text;
    while (ComBuffer_.ByteCount() > 0 && static_cast<int32_t>(text.size()) < kMaxMethodTextBytes) {
        const uint8_t b = ComBuffer_.TakeByte();
        if (b == SyncByte) break;
        text += static_cast<char>(b);
    }
    if (static_cast<int32_t>(text.size()) == kMaxMethodTextBytes && ComBuffer_.ByteCount() > 0 &&
        ComBuffer_.At(ComBuffer_.TakeIndex()) == SyncByte)
        ComBuffer_.TakeByte();
    return text;
}

void BlockDecoder::DisableDataCollection() {
    BusyScope busy(ComBusy);
    controls_.setReceiveLedColor(kLedOff);
    timerCheckComData_.stop();
    run_.LinkLost();
    controls_.setEnabled(MainWindowControls::Item::mnuStart, false);
    controls_.setEnabled(MainWindowControls::Item::mnuStop, false);
    controls_.setEnabled(MainWindowControls::Item::cmdRecord, false);
    controls_.setEnabled(MainWindowControls::Item::cmdStop, false);
    globals_.InSync = false;
}

}  // namespace tavrin
