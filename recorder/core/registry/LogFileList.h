#pragma once

#include <string>

namespace tavrin {

// The check list of the data recovery window that the log listings fill.
class LogFileList {
public:
    virtual ~LogFileList() = default;
    // Appends an item at the end.
    virtual void AddItem(const std::string& text, bool checked) = 0;
};

}  // namespace tavrin
