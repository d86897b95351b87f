#pragma once

#include <stdexcept>
#include <string>

namespace kado {

// A script line that cannot be read: its 1-based number and what is wrong.
class ScriptError : public std::runtime_error {
public:
    ScriptError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
    int line() const noexcept { return line_; }

private:
    int line_;
};

}  // namespace kado
