#pragma once

#include <string>

#include "core/run/ErrorLogFile.h"

namespace tavrin {

// ChartErr.log in the program's writable folder. Each entry is appended
// whole and flushed; a write that fails part way is cut back off, so the
// file never holds half an entry.
class ErrorLogAppender : public ErrorLogFile {
public:
    explicit ErrorLogAppender(std::string path) : path_(std::move(path)) {}

    // $XDG_DATA_HOME/tavrin-ms/ChartErr.log (the folder is made if missing).
    static std::string defaultPath();

    bool append(const std::string& bytes) noexcept override;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace tavrin
