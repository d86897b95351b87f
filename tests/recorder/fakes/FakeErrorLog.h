#pragma once

#include <string>
#include <vector>

#include "core/run/ErrorLogFile.h"

namespace tavrin::test {

// Keeps the appended entries; can be told to fail like a full disk.
class FakeErrorLog : public ErrorLogFile {
public:
    bool append(const std::string& bytes) noexcept override {
        ++attempts;
        if (fail) return false;
        text += bytes;
        entries.push_back(bytes);
        return true;
    }

    std::string text;
    std::vector<std::string> entries;
    int attempts = 0;
    bool fail = false;
};

}  // namespace tavrin::test
