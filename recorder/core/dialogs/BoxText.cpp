#include "core/dialogs/BoxText.h"

namespace tavrin {

std::string toBoxText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string fromBoxText(const std::string& boxText) {
    std::string out;
    out.reserve(boxText.size() + boxText.size() / 16);
    for (char c : boxText) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace tavrin
