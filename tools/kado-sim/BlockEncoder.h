#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kado {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kSync = 0x96;

// Blocks of the instrument's wire format: sync byte, type letter, payload.
// Floats go out as IEEE-754 singles, most significant byte first.
Bytes floatBlock(char type, float value);
Bytes byteBlock(char type, uint8_t value);
// Method text closed by the sync byte; the text itself must not hold 0x96
// (throws std::invalid_argument).
Bytes methodBlock(std::string_view text);

}  // namespace kado
