#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace tavrin::test {

using Bytes = std::vector<uint8_t>;

// Blocks of the instrument's protocol, built byte by byte for the tests.
inline constexpr uint8_t kSync = 150;

inline Bytes floatBlock(char type, float value) {
    uint8_t raw[4];
    std::memcpy(raw, &value, 4);
    return {kSync, static_cast<uint8_t>(type), raw[3], raw[2], raw[1], raw[0]};
}
inline Bytes byteBlock(char type, uint8_t value) { return {kSync, static_cast<uint8_t>(type), value}; }
inline Bytes uv(char letter, float value) { return floatBlock(letter, value); }
inline Bytes cond(char letter, float value) { return floatBlock(letter, value); }
inline Bytes ev(uint8_t code) { return byteBlock('E', code); }
inline Bytes hold(uint8_t code) { return byteBlock('H', code); }
inline Bytes pen(uint8_t code) { return byteBlock('P', code); }
inline Bytes runStatus(uint8_t code) { return byteBlock('R', code); }
inline Bytes fblock() { return {kSync, 'F', 1, 2, 3, 4}; }
inline Bytes method(const std::string& text) {
    Bytes b;
    b.reserve(text.size() + 3);
    b.push_back(kSync);
    b.push_back('M');
    for (const char c : text) b.push_back(static_cast<uint8_t>(c));
    b.push_back(kSync);
    return b;
}
// One data point: a UV block then a conductivity block.
inline Bytes point(char uvLetter = 'V', float uvValue = 0.5f, float condValue = 12.5f) {
    Bytes b = uv(uvLetter, uvValue);
    const Bytes c = cond('C', condValue);
    b.insert(b.end(), c.begin(), c.end());
    return b;
}

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline Bytes repeat(const Bytes& part, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i) out.insert(out.end(), part.begin(), part.end());
    return out;
}

}  // namespace tavrin::test
