#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/run/ComBuffer.h"
#include "core/run/ErrorReporter.h"
#include "core/MainWindowControls.h"
#include "core/run/RunControl.h"
#include "core/run/SerialPort.h"
#include "core/Timer.h"
#include "core/modGlobas.h"

namespace tavrin {

// Copies the port's bytes into the receive ring and, on the decoder tick,
// finds and checks whole blocks of the instrument's protocol and hands their
// payloads to the run control.
class BlockDecoder {
public:
    static constexpr uint8_t kSyncByte = 150;
    // A method text with no closing byte is cut after this many bytes, so a
    // line that never closes one cannot hold the ring.
    static constexpr int32_t kMaxMethodTextBytes = 4000;

    struct FloatBytesRec {
        std::array<uint8_t, 4> Bytes{};  // least significant first
    };

    BlockDecoder(SerialPort& port, Timer& timerProcess, Timer& timerCheckComData,
                 Timer& timerSaveLog, MainWindowControls& controls, modGlobas& globals,
                 RunControl& run, ErrorReporter& errors);

    void ComPort_OnComm();
    void ReadComData();
    void TimerProcess_Timer();
    void ProcessComData();
    bool PeekDataBlock();
    void FindFirstSync();
    // CR LF and a dump of the 32 ring bytes before the take (-1) or look (0)
    // position, for the detail of a protocol error.
    std::string GetLastBytes(int16_t Which) const;
    void ReverseBytes(const std::array<uint8_t, 4>& Payload);
    void DisableDataCollection();

    void HandelFData();

    const ComBuffer& comBuffer() const { return ComBuffer_; }

    uint8_t SyncByte = kSyncByte;
    bool ComBusy = false;
    // A receive event came since the last watchdog tick.
    bool DataSeen = false;
    FloatBytesRec FloatBytes;

private:
    // One decoding of the ring. resumeAfterHunt: a hunt that finds alignment
    // decodes on at once, and so does a pass that loses it midway.
    void decodePass(bool resumeAfterHunt);
    void decodeWholeBlocks();
    float takeFloat();
    // The method text up to its closing byte, which is consumed.
    std::string takeMethodText();
    void dispatch(uint8_t type);
    void payloadError(const char* text, uint8_t value);

    ComBuffer ComBuffer_;
    SerialPort& port_;
    Timer& timerProcess_;
    Timer& timerCheckComData_;
    Timer& timerSaveLog_;
    MainWindowControls& controls_;
    modGlobas& globals_;
    RunControl& run_;
    ErrorReporter& errors_;
    // New bytes came since the last hunt for alignment.
    bool newBytesSinceHunt_ = false;
    // The ring lost unread bytes since alignment was last found; the loss is
    // logged once.
    bool overflowLogged_ = false;
};

}  // namespace tavrin
