#pragma once

#include <QObject>
#include <QSerialPort>

#include <functional>
#include <string>
#include <vector>

#include "core/run/SerialPort.h"

namespace tavrin {

// The receive-only serial port over QSerialPort: 9600 8N1, raw bytes. Every
// byte the device delivers is kept once, in order, in an input buffer of
// InBufferSize bytes until Input() takes it; bytes that find the buffer full
// are dropped and reported once as a receive buffer overflow (1008). A read
// failure (hang-up, unplugged adapter) is reported once as 57 and closes it.
class QSerialPortAdapter : public QObject, public SerialPort {
    Q_OBJECT

public:
    // Device path of COM n; empty when there is none.
    using DeviceLookup = std::function<std::string(int16_t portNumber)>;

    // CommEvent codes this port raises besides kEvReceive.
    static constexpr int16_t kEvReceiveOverflow = 1008;
    static constexpr int16_t kEvDeviceIoError = 57;  // the device failed or went away

    explicit QSerialPortAdapter(DeviceLookup deviceFor, QObject* parent = nullptr);
    ~QSerialPortAdapter() override;

    void setCommPort(int16_t portNumber) override;
    int16_t CommPort() const override { return commPort_; }
    void setInBufferSize(int32_t bytes) override;
    void setPortOpen(bool open) override;
    bool PortOpen() const override;
    // The device path while open, else empty.
    std::string OpenDevice() const;
    int32_t InBufferCount() const override;
    std::vector<uint8_t> Input() override;
    int16_t CommEvent() const override { return commEvent_; }
    void setOnComm(std::function<void()> handler) override;

private slots:
    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);

private:
    void open();
    void raise(int16_t event);

    QSerialPort port_;
    DeviceLookup deviceFor_;
    std::string openDevice_;
    std::function<void()> onComm_;
    std::vector<uint8_t> input_;
    int16_t commPort_ = 1;
    int32_t inBufferSize_ = 1024;
    int16_t commEvent_ = 0;
    bool opening_ = false;
    bool overflowReported_ = false;
    bool failureReported_ = false;
    // Tells a queued close after a read failure from a later opening.
    uint32_t openCount_ = 0;
};

}  // namespace tavrin
