#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pelomar {

// A run-time error that a member does not trap reaches the caller as this
// exception: the platform's error number and its standard description.
// Thrown across the chart library's boundary, so its type is visible from
// every module that links it.
class __attribute__((visibility("default"))) RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int32_t number);
    RuntimeError(int32_t number, const std::string& description);

    int32_t number() const noexcept { return number_; }

private:
    int32_t number_;
};

}  // namespace pelomar
