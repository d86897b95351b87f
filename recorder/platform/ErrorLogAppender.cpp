#include "platform/ErrorLogAppender.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "common/PosixFileSystem.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"
#include "common/UserFolders.h"

namespace tavrin {

std::string ErrorLogAppender::defaultPath() {
    const std::string folder = pelomar::core::programDataFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder + "/ChartErr.log";
}

bool ErrorLogAppender::append(const std::string& bytes) noexcept {
    pelomar::core::PosixFileSystem files(0644);
    return pelomar::core::appendWhole(files, path_, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) ==
           pelomar::core::err::kNone;
}

}  // namespace tavrin
