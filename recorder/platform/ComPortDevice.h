#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tavrin {

// Looks up an environment variable; nullptr when it is not set.
using EnvLookup = std::function<const char*(const char*)>;

// Device path of COM n (1..10): TAVRIN_COM<n> when set and not empty, else
// /dev/ttyS<n-1>. Empty for a number outside 1..10, which opens as "no such
// port".
std::string comPortDevice(int16_t portNumber, const EnvLookup& env);

}  // namespace tavrin
