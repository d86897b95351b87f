#include "core/run/ComBuffer.h"

namespace tavrin {

int32_t ComBuffer::Put(std::span<const uint8_t> bytes) {
    int32_t dropped = 0;
    for (const uint8_t b : bytes) {
        if (byteCount_ == kSize) {
            takeIndex_ = next(takeIndex_);
            --byteCount_;
            ++dropped;
        }
        data_[static_cast<size_t>(putIndex_)] = b;
        putIndex_ = next(putIndex_);
        ++byteCount_;
    }
    if (dropped > 0) RestartLook();
    return dropped;
}

uint8_t ComBuffer::TakeByte() {
    if (byteCount_ == 0) return 0;
    const uint8_t b = data_[static_cast<size_t>(takeIndex_)];
    takeIndex_ = next(takeIndex_);
    --byteCount_;
    return b;
}

uint8_t ComBuffer::LookByte() {
    if (lookByteCount_ <= 0) return 0;
    const uint8_t b = data_[static_cast<size_t>(lookIndex_)];
    lookIndex_ = next(lookIndex_);
    --lookByteCount_;
    return b;
}

void ComBuffer::RestartLook() {
    lookIndex_ = takeIndex_;
    lookByteCount_ = byteCount_;
}

uint8_t ComBuffer::At(int32_t index) const {
    int32_t i = index % kSize;
    if (i < 0) i += kSize;
    return data_[static_cast<size_t>(i)];
}

}  // namespace tavrin
