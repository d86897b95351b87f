#include "core/registry/LogInfoRecord.h"

namespace tavrin {

std::string LogInfoFolderField(const std::string& Entry) {
    std::string kept;
    int bars = 0;
    for (const char c : Entry) {
        if (c == '|') {
            ++bars;
        } else if (bars == 3) {
            kept += c;
        }
    }
    return kept;
}

std::string FormatLogInfoLine(const std::string& Entry) {
    std::string line = "  ";
    int bars = 0;
    for (const char c : Entry) {
        if (c != '|') {
            if (bars >= 3) break;
            line += c;
            continue;
        }
        ++bars;
        const size_t column = bars == 1 ? 32 : bars == 2 ? 45 : 0;
        if (line.size() < column) line.append(column - line.size(), ' ');
    }
    return line;
}

bool IsInstanceFolderName(const std::string& name) {
    if (name.empty()) return false;
    for (const char c : name) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace tavrin
