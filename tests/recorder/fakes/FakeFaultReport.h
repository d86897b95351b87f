#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/window/FaultReport.h"

namespace tavrin::test {

// Keeps what a window's handlers report, one "handler: what" per fault.
struct FakeFaultReport {
    std::vector<std::string> faults;

    FaultReport report() {
        return [this](const std::string& handler, const std::string& what) { faults.push_back(handler + ": " + what); };
    }
};

// For a window whose test expects no fault: one ends the test run loudly.
inline FaultReport failOnFault() {
    return [](const std::string& handler, const std::string& what) {
        std::fprintf(stderr, "Unexpected fault in %s: %s\n", handler.c_str(), what.c_str());
        std::abort();
    };
}

}  // namespace tavrin::test
