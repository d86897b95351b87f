#pragma once

#include <string>
#include <vector>

#include "core/registry/LogFileList.h"

namespace tavrin::test {

class FakeLogFileList : public LogFileList {
public:
    void AddItem(const std::string& text, bool checked) override {
        items.push_back(text);
        checks.push_back(checked);
    }
    std::vector<std::string> items;
    std::vector<bool> checks;
};

}  // namespace tavrin::test
