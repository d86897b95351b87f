#include "platform/ComPortDevice.h"

namespace tavrin {

std::string comPortDevice(int16_t portNumber, const EnvLookup& env) {
    if (portNumber < 1 || portNumber > 10) return {};
    const std::string name = "TAVRIN_COM" + std::to_string(portNumber);
    if (env) {
        const char* value = env(name.c_str());
        if (value != nullptr && *value != '\0') return value;
    }
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

}  // namespace tavrin
