#include "BlockEncoder.h"

#include <bit>
#include <stdexcept>

namespace kado {

Bytes floatBlock(char type, float value) {
    const auto bits = std::bit_cast<uint32_t>(value);
    return {kSync, static_cast<uint8_t>(type), static_cast<uint8_t>(bits >> 24),
            static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 8),
            static_cast<uint8_t>(bits)};
}

Bytes byteBlock(char type, uint8_t value) { return {kSync, static_cast<uint8_t>(type), value}; }

Bytes methodBlock(std::string_view text) {
    Bytes block{kSync, static_cast<uint8_t>('M')};
    for (const char c : text) {
        const auto b = static_cast<uint8_t>(c);
        if (b == kSync) throw std::invalid_argument("method text holds the sync byte 0x96");
        block.push_back(b);
    }
    block.push_back(kSync);
    return block;
}

}  // namespace kado
