#include "TextLines.h"

#include <algorithm>

namespace pelomar::core {

namespace {

// The line that starts at 0-based `start`: its length up to the next CR or
// the end of the text.
size_t lineLength(const std::string& text, size_t start) {
    const size_t cr = text.find('\r', start);
    return (cr == std::string::npos ? text.size() : cr) - start;
}

std::string trimSpaces(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// A position below 1 reads from the start rather than before it.
size_t startOf(int32_t pos) { return pos < 1 ? 0 : static_cast<size_t>(pos) - 1; }

}  // namespace

int32_t LastSpacePos(const std::string& Text) {
    const size_t p = Text.rfind(' ');
    return p == std::string::npos ? 0 : static_cast<int32_t>(p + 1);
}

void GetNextLine(int32_t& Pos, const std::string& Text, std::string& LineOut, bool& More) {
    const size_t start = startOf(Pos);
    if (start >= Text.size()) {
        LineOut.clear();
        More = false;
        return;
    }
    const size_t len = lineLength(Text, start);
    LineOut = Text.substr(start, len);
    Pos = static_cast<int32_t>(start + len + 2 + 1);
    More = true;
}

void GetNextNotesLine(const std::string& notes, int32_t& Pos, int16_t MaxChars, std::string& LineOut,
                      bool& More) {
    const size_t start = startOf(Pos);
    if (start >= notes.size()) {
        LineOut.clear();
        More = false;
        return;
    }
    // A width below one would never move on.
    const size_t width = static_cast<size_t>(std::max<int16_t>(MaxChars, 1));
    const size_t len = lineLength(notes, start);
    std::string part;
    size_t next = 0;  // 0-based position after the part
    if (len <= width) {
        part = notes.substr(start, len);
        next = start + len + 2;
    } else {
        part = notes.substr(start, width);
        next = start + width;
        // A cut that falls just before a space already ends at a word.
        if (notes[next] != ' ') {
            if (const int32_t space = LastSpacePos(part); space > 0) {
                part.resize(static_cast<size_t>(space));
                next = start + static_cast<size_t>(space);
            }
        }
    }
    Pos = static_cast<int32_t>(next + 1);
    More = true;
    LineOut = trimSpaces(part);
}

}  // namespace pelomar::core
