#pragma once

#include <string>

namespace tavrin {

// The error log file: each call opens it for appending (creating it), writes
// the bytes and closes it.
class ErrorLogFile {
public:
    virtual ~ErrorLogFile() = default;
    // False when the file could not be opened or written; never throws.
    virtual bool append(const std::string& bytes) noexcept = 0;
};

}  // namespace tavrin
