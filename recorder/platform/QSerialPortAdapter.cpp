#include "platform/QSerialPortAdapter.h"

#include "common/Guard.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include <QByteArray>
#include <QFileInfo>

#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace tavrin {

namespace err = pelomar::core::err;
using pelomar::RuntimeError;

QSerialPortAdapter::QSerialPortAdapter(DeviceLookup deviceFor, QObject* parent)
    : QObject(parent), deviceFor_(std::move(deviceFor)) {
    connect(&port_, &QSerialPort::readyRead, this, &QSerialPortAdapter::onReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &QSerialPortAdapter::onErrorOccurred);
}

QSerialPortAdapter::~QSerialPortAdapter() {
    // No handler may run while the owner is being torn down.
    onComm_ = nullptr;
    port_.disconnect(this);
}

void QSerialPortAdapter::setCommPort(int16_t portNumber) {
    if (port_.isOpen()) throw RuntimeError(err::kPortAlreadyOpen);
    if (portNumber < 1) throw RuntimeError(err::kInvalidPortNumber);
    commPort_ = portNumber;
}

void QSerialPortAdapter::setInBufferSize(int32_t bytes) {
    if (bytes < 1) throw RuntimeError(err::kInvalidPropertyValue);
    inBufferSize_ = bytes;
}

void QSerialPortAdapter::setPortOpen(bool open) {
    if (open) {
        this->open();
        return;
    }
    if (port_.isOpen()) port_.close();
    input_.clear();
}

void QSerialPortAdapter::open() {
    if (port_.isOpen()) throw RuntimeError(err::kPortAlreadyOpen);
    const std::string device = deviceFor_ ? deviceFor_(commPort_) : std::string();
    if (device.empty()) throw RuntimeError(err::kInvalidPortNumber);
    const QString path = QString::fromStdString(device);
    if (!QFileInfo::exists(path)) throw RuntimeError(err::kInvalidPortNumber);

    port_.setPortName(path);
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    opening_ = true;
    const bool opened = port_.open(QIODevice::ReadOnly);
    opening_ = false;
    if (!opened) {
        const QSerialPort::SerialPortError error = port_.error();
        port_.clearError();
        switch (error) {
        case QSerialPort::DeviceNotFoundError:
        case QSerialPort::UnsupportedOperationError:  // not a serial device
            throw RuntimeError(err::kInvalidPortNumber);
        case QSerialPort::PermissionError:
            // QSerialPort reports another holder's lock as a permission error;
            // a device this user may not read (not in its group, "dialout")
            // is a different failure.
            if (::faccessat(AT_FDCWD, device.c_str(), R_OK, AT_EACCESS) == 0)
                throw RuntimeError(err::kPortAlreadyOpen);
            throw RuntimeError(err::kPermissionDenied);
        case QSerialPort::OpenError:
            throw RuntimeError(err::kPortAlreadyOpen);
        default:
            throw RuntimeError(err::kDeviceIoError);
        }
    }
    ++openCount_;
    openDevice_ = device;
    input_.clear();
    overflowReported_ = false;
    failureReported_ = false;
}

bool QSerialPortAdapter::PortOpen() const { return port_.isOpen(); }

std::string QSerialPortAdapter::OpenDevice() const {
    return port_.isOpen() ? openDevice_ : std::string();
}

int32_t QSerialPortAdapter::InBufferCount() const { return static_cast<int32_t>(input_.size()); }

std::vector<uint8_t> QSerialPortAdapter::Input() {
    std::vector<uint8_t> taken;
    taken.swap(input_);
    overflowReported_ = false;
    return taken;
}

void QSerialPortAdapter::setOnComm(std::function<void()> handler) { onComm_ = std::move(handler); }

void QSerialPortAdapter::onReadyRead() {
    const QByteArray bytes = port_.readAll();
    if (bytes.isEmpty()) return;
    const auto room = static_cast<qsizetype>(inBufferSize_) - static_cast<qsizetype>(input_.size());
    const qsizetype kept = std::clamp<qsizetype>(room, 0, bytes.size());
    input_.insert(input_.end(), bytes.begin(), bytes.begin() + kept);
    if (kept > 0) raise(kEvReceive);
    if (kept < bytes.size() && !overflowReported_) {
        overflowReported_ = true;
        raise(kEvReceiveOverflow);
    }
}

void QSerialPortAdapter::onErrorOccurred(QSerialPort::SerialPortError error) {
    if (opening_) return;  // open() turns these into its run-time error
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
    // A hung-up or unplugged device fails every read again at once; close it
    // rather than spin on the failure.
    QMetaObject::invokeMethod(
        this,
        [this, opening = openCount_] {
            if (opening == openCount_ && port_.isOpen()) port_.close();
        },
        Qt::QueuedConnection);
    if (failureReported_) return;
    failureReported_ = true;
    raise(kEvDeviceIoError);
}

void QSerialPortAdapter::raise(int16_t event) {
    if (!onComm_) return;
    // A handler that opens a message box may see a nested event; the outer
    // handler keeps reading its own code afterwards.
    const int16_t outer = commEvent_;
    commEvent_ = event;
    // The receive handler guards itself; nothing may escape into Qt's event
    // loop all the same.
    pelomar::guardHandler([this] { onComm_(); },
                          [](const char* what) { qWarning("Receive handler failed: %s", what); });
    commEvent_ = outer;
}

}  // namespace tavrin
