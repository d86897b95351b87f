#pragma once

#include <cstdint>
#include <string>

namespace pelomar::core {

// Readers over texts whose lines end in CR LF, shared by the text export and
// the printed methods and notes pages. Positions are 1-based, as the callers
// count them; a reader at the end gives "" with More False.

// 1-based position of the last space of `Text`, 0 when there is none.
int32_t LastSpacePos(const std::string& Text);

// The next line from Pos up to the next CR (or the end); Pos moves past the
// CR LF. An empty line gives "" with More True.
void GetNextLine(int32_t& Pos, const std::string& Text, std::string& LineOut, bool& More);

// The next line of `notes` wrapped at MaxChars: a longer line is cut after
// its last space within MaxChars (hard at MaxChars when it holds none), and
// the part is trimmed of spaces at both ends.
void GetNextNotesLine(const std::string& notes, int32_t& Pos, int16_t MaxChars, std::string& LineOut,
                      bool& More);

}  // namespace pelomar::core
