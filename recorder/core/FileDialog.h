#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// The open and save dialogs. Title, filter and extension are code-page
// texts; the filter is description and pattern pairs separated by "|". The
// names, the initial one and those that come back, are the file system's
// bytes.
class FileDialog {
public:
    static constexpr int32_t kOverwritePrompt = 2;
    static constexpr int32_t kHideReadOnly = 4;
    static constexpr int32_t kPathMustExist = 2048;

    struct Settings {
        std::string DialogTitle;
        std::string Filter;
        std::string DefaultExt;
        std::string FileName;  // initial name
        int32_t Flags = 0;
    };
    struct Result {
        std::string FileName;   // full path; empty when cancelled
        std::string FileTitle;  // the name without its folder
    };

    virtual ~FileDialog() = default;
    virtual Result ShowOpen(const Settings& settings) = 0;
    virtual Result ShowSave(const Settings& settings) = 0;
};

}  // namespace tavrin
