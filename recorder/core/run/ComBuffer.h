#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tavrin {

// The receive ring: bytes written at PutIndex, consumed at TakeIndex, and a
// look-ahead that peeks without consuming. It never holds more than kSize
// unread bytes, so its counters stay within 0..kSize.
class ComBuffer {
public:
    static constexpr int32_t kSize = 10000;

    // Appends the bytes; when they do not fit, the oldest unread bytes are
    // dropped first. Returns the number of bytes dropped.
    int32_t Put(std::span<const uint8_t> bytes);

    // Consume or peek one byte. With nothing left they return 0 and move
    // nothing, so no caller can run past the unread bytes.
    uint8_t TakeByte();
    uint8_t LookByte();
    // The look-ahead starts again from the take position.
    void RestartLook();

    // The byte at a ring index, wrapped into 0..kSize-1.
    uint8_t At(int32_t index) const;

    int32_t PutIndex() const { return putIndex_; }
    int32_t TakeIndex() const { return takeIndex_; }
    int32_t ByteCount() const { return byteCount_; }
    int32_t LookIndex() const { return lookIndex_; }
    int32_t LookByteCount() const { return lookByteCount_; }

private:
    static int32_t next(int32_t index) { return index + 1 == kSize ? 0 : index + 1; }

    std::array<uint8_t, kSize> data_{};
    int32_t putIndex_ = 0;
    int32_t takeIndex_ = 0;
    int32_t byteCount_ = 0;
    int32_t lookIndex_ = 0;
    int32_t lookByteCount_ = 0;
};

}  // namespace tavrin
