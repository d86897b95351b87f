#include "BinaryIO.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace pelomar::core {

static_assert(std::endian::native == std::endian::little, "the file layouts are little-endian");
static_assert(sizeof(float) == 4 && sizeof(double) == 8);

namespace {
template <typename T>
void append(std::vector<uint8_t>& buf, T v) {
    uint8_t b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T));
    buf.insert(buf.end(), b, b + sizeof(T));
}
}  // namespace

void ByteWriter::putSingle(float v) { append(buf_, v); }
void ByteWriter::putDouble(double v) { append(buf_, v); }
void ByteWriter::putLong(int32_t v) { append(buf_, v); }
void ByteWriter::putInteger(int16_t v) { append(buf_, v); }
void ByteWriter::putUInt16(uint16_t v) { append(buf_, v); }

void ByteWriter::putBytes(std::string_view bytes) {
    buf_.insert(buf_.end(), bytes.begin(), bytes.end());
}

void ByteWriter::putText(std::string_view text) {
    const size_t n = std::min<size_t>(text.size(), 0xFFFF);
    putUInt16(static_cast<uint16_t>(n));
    putBytes(text.substr(0, n));
}

void ByteReader::read(void* out, size_t n) {
    auto* dst = static_cast<uint8_t*>(out);
    const size_t avail = remaining();
    const size_t take = std::min(n, avail);
    if (take > 0) std::memcpy(dst, data_ + pos_, take);
    if (take < n) {
        std::memset(dst + take, 0, n - take);
        truncated_ = true;
    }
    pos_ += take;
}

double ByteReader::getDouble() { double v; read(&v, sizeof v); return v; }
int32_t ByteReader::getLong() { int32_t v; read(&v, sizeof v); return v; }
int16_t ByteReader::getInteger() { int16_t v; read(&v, sizeof v); return v; }
uint16_t ByteReader::getUInt16() { uint16_t v; read(&v, sizeof v); return v; }

std::string ByteReader::getBytes(size_t n) {
    const size_t take = std::min(n, remaining());
    std::string s(reinterpret_cast<const char*>(data_ + pos_), take);
    pos_ += take;
    if (take < n) truncated_ = true;
    return s;
}

std::string ByteReader::getText() { return getBytes(getUInt16()); }

}  // namespace pelomar::core
