#include "fakes/FakeSerialPort.h"

namespace tavrin::test {

void FakeSerialPort::setCommPort(int16_t portNumber) {
    if (bank_ != nullptr && open_) throw pelomar::RuntimeError(pelomar::core::err::kPortAlreadyOpen);
    commPort_ = portNumber;
}

void FakeSerialPort::setPortOpen(bool open) {
    if (bank_ != nullptr) {
        if (open) {
            if (open_) throw pelomar::RuntimeError(pelomar::core::err::kPortAlreadyOpen);
            bank_->acquire(commPort_);
        } else if (open_) {
            bank_->release(commPort_);
        }
    }
    open_ = open;
}

int32_t FakeSerialPort::InBufferCount() const {
    return reportedCount_ >= 0 ? reportedCount_ : static_cast<int32_t>(pending_.size());
}

std::vector<uint8_t> FakeSerialPort::Input() {
    ++inputCalls_;
    std::vector<uint8_t> out;
    out.swap(pending_);
    return out;
}

void FakeSerialPort::receive(const std::vector<uint8_t>& bytes) {
    queue(bytes);
    raise(kEvReceive);
}

void FakeSerialPort::queue(const std::vector<uint8_t>& bytes) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
}

void FakeSerialPort::raise(int16_t event) {
    event_ = event;
    if (onComm_) onComm_();
}

}  // namespace tavrin::test
