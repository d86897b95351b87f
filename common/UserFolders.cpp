#include "common/UserFolders.h"

#include <cstdlib>

namespace pelomar::core {

namespace {

constexpr const char* kProgramFolderName = "/tavrin-ms";

std::string homeOr(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value != nullptr && *value == '/') return value;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + underHome;
}

}  // namespace

std::string configHome() { return homeOr("XDG_CONFIG_HOME", "/.config"); }
std::string dataHome() { return homeOr("XDG_DATA_HOME", "/.local/share"); }

std::string programConfigFolder() { return configHome() + kProgramFolderName; }
std::string programDataFolder() { return dataHome() + kProgramFolderName; }

}  // namespace pelomar::core
