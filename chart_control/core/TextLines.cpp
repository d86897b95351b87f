#include "TextLines.h"

#include <algorithm>

namespace pelomar::core {

namespace {
// Length of the line that starts at the 0-based offset `from`.
size_t lineLength(const std::string& text, size_t from) {
    const size_t cr = text.find('\r', from);
    return (cr == std::string::npos ? text.size() : cr) - from;
}

std::string trimmed(const std::string& s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    const size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}
}  // namespace

bool GetNextLine(int32_t& pos, const std::string& text, std::string& lineOut) {
    if (pos < 1 || static_cast<size_t>(pos) > text.size()) {
        lineOut.clear();
        return false;
    }
    const size_t from = static_cast<size_t>(pos) - 1;
    const size_t len = lineLength(text, from);
    lineOut = text.substr(from, len);
    pos += static_cast<int32_t>(len) + 2;
    return true;
}

bool GetNextNotesLine(int32_t& pos, const std::string& text, int32_t maxChars,
                      std::string& lineOut) {
    if (pos < 1 || static_cast<size_t>(pos) > text.size()) {
        lineOut.clear();
        return false;
    }
    const size_t from = static_cast<size_t>(pos) - 1;
    const size_t len = lineLength(text, from);
    // A width below one character would never move on.
    const size_t width = static_cast<size_t>(std::max<int32_t>(maxChars, 1));
    std::string part;
    if (len <= width) {
        part = text.substr(from, len);
        pos += static_cast<int32_t>(len) + 2;
    } else {
        part = text.substr(from, width);
        pos += static_cast<int32_t>(width);
        const int32_t space = LastSpacePos(part);
        if (text[static_cast<size_t>(pos) - 1] != ' ' && space > 0) {
            part.resize(static_cast<size_t>(space));
            pos = static_cast<int32_t>(from) + 1 + space;
        }
    }
    lineOut = trimmed(part);
    return true;
}

int32_t LastSpacePos(const std::string& text) noexcept {
    const size_t p = text.rfind(' ');
    return p == std::string::npos ? 0 : static_cast<int32_t>(p) + 1;
}

}  // namespace pelomar::core
