#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tavrin {

// The receive-only serial port of the main window (and the probe of the
// setup dialog). Implemented over QSerialPort in platform/, and by fakes in
// the tests.
class SerialPort {
public:
    // Event codes of CommEvent: 2 received data; 1, 3..7 line and transmit
    // events; 1001..1010 communication errors.
    static constexpr int16_t kEvReceive = 2;

    virtual ~SerialPort() = default;

    // COM n, 1..10; only while the port is closed.
    virtual void setCommPort(int16_t portNumber) = 0;
    virtual int16_t CommPort() const = 0;
    virtual void setInBufferSize(int32_t bytes) = 0;
    // Opening raises pelomar::RuntimeError 8002 (no such port), 8005 (in use
    // elsewhere) or another run-time error number; closing raises nothing.
    virtual void setPortOpen(bool open) = 0;
    virtual bool PortOpen() const = 0;
    // Received bytes waiting.
    virtual int32_t InBufferCount() const = 0;
    // All waiting bytes in arrival order; the input buffer is emptied.
    virtual std::vector<uint8_t> Input() = 0;
    // Code of the event being handled.
    virtual int16_t CommEvent() const = 0;
    // Called on the user-interface thread when bytes are waiting, on line
    // events and on errors.
    virtual void setOnComm(std::function<void()> handler) = 0;
};

}  // namespace tavrin
