#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace pelomar::core {

// Little-endian writer of the files' fields into a byte buffer.
class ByteWriter {
public:
    void putSingle(float v);
    void putDouble(double v);
    void putLong(int32_t v);
    void putInteger(int16_t v);
    void putUInt16(uint16_t v);
    void putBytes(std::string_view bytes);
    // A 16-bit length and the text's bytes. A text longer than 65535 bytes is
    // cut there (one byte is one character in the code page).
    void putText(std::string_view text);

    const std::vector<uint8_t>& bytes() const noexcept { return buf_; }
    std::vector<uint8_t>& bytes() noexcept { return buf_; }
    size_t size() const noexcept { return buf_.size(); }

private:
    std::vector<uint8_t> buf_;
};

// Little-endian reader over a byte range. Reading past the end yields zero
// bytes (a file cut short reads as zeros beyond its end) and sets truncated().
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::vector<uint8_t>& v) : ByteReader(v.data(), v.size()) {}

    // Inline: a data file is mostly Singles, two per point.
    float getSingle() {
        float v;
        if (remaining() >= sizeof v) {
            std::memcpy(&v, data_ + pos_, sizeof v);
            pos_ += sizeof v;
        } else {
            read(&v, sizeof v);
        }
        return v;
    }
    double getDouble();
    int32_t getLong();
    int16_t getInteger();
    uint16_t getUInt16();
    std::string getBytes(size_t n);
    std::string getText();

    size_t position() const noexcept { return pos_; }
    size_t remaining() const noexcept { return pos_ < size_ ? size_ - pos_ : 0; }
    bool truncated() const noexcept { return truncated_; }

private:
    void read(void* out, size_t n);

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool truncated_ = false;
};

}  // namespace pelomar::core
