#pragma once

#include <cstdint>
#include <string>

namespace pelomar::core {

// Readers over CR LF texts with a 1-based read position that they advance.
// Each returns false (and an empty line) once the text is used up; an empty
// line of the text is an empty string with true.

// The next line, up to the next CR.
bool GetNextLine(int32_t& pos, const std::string& text, std::string& lineOut);

// The next line of `text` wrapped at `maxChars`: a longer line is cut after
// its last space within the width, or hard at the width when it has none.
// The line comes back without leading and trailing spaces.
bool GetNextNotesLine(int32_t& pos, const std::string& text, int32_t maxChars,
                      std::string& lineOut);

// 1-based position of the last space in `text`, 0 when there is none.
int32_t LastSpacePos(const std::string& text) noexcept;

}  // namespace pelomar::core
