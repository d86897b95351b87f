#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/run/SerialPort.h"
#include "fakes/FakePortBank.h"

namespace tavrin::test {

// A port whose input the test feeds; each feed raises the receive event.
class FakeSerialPort : public SerialPort {
public:
    void setCommPort(int16_t portNumber) override;
    int16_t CommPort() const override { return commPort_; }
    void setInBufferSize(int32_t bytes) override { inBufferSize_ = bytes; }
    void setPortOpen(bool open) override;
    bool PortOpen() const override { return open_; }
    int32_t InBufferCount() const override;
    std::vector<uint8_t> Input() override;
    int16_t CommEvent() const override { return event_; }
    void setOnComm(std::function<void()> handler) override { onComm_ = std::move(handler); }

    // Bytes arrive and the receive event is raised.
    void receive(const std::vector<uint8_t>& bytes);
    // Bytes arrive without an event (the port's own buffer fills).
    void queue(const std::vector<uint8_t>& bytes);
    // A line event or error is raised.
    void raise(int16_t event);
    // Pretends the input count is this, for the buffer-full check.
    void setReportedCount(int32_t count) { reportedCount_ = count; }
    int inputCalls() const { return inputCalls_; }
    // From now on opening goes through the machine's ports, which can be
    // missing or in use; without a bank every port opens.
    void attach(FakePortBank& bank) { bank_ = &bank; }

private:
    int16_t commPort_ = 1;
    int32_t inBufferSize_ = 0;
    bool open_ = false;
    int16_t event_ = 0;
    int32_t reportedCount_ = -1;
    int inputCalls_ = 0;
    std::vector<uint8_t> pending_;
    std::function<void()> onComm_;
    FakePortBank* bank_ = nullptr;
};

}  // namespace tavrin::test
