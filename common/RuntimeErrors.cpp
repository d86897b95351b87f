#include "common/RuntimeErrors.h"

#include <cerrno>

#include "common/RuntimeError.h"

namespace pelomar {

RuntimeError::RuntimeError(int32_t number)
    : RuntimeError(number, core::errorText(number)) {}

RuntimeError::RuntimeError(int32_t number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

}  // namespace pelomar

namespace pelomar::core {

std::string errorText(int32_t number) {
    switch (number) {
    case err::kNone: return "";
    case 3: return "Return without GoSub";
    case 5: return "Invalid procedure call or argument";
    case err::kOverflow: return "Overflow";
    case err::kOutOfMemory: return "Out of memory";
    case err::kSubscriptOutOfRange: return "Subscript out of range";
    case 10: return "This array is fixed or temporarily locked";
    case err::kDivisionByZero: return "Division by zero";
    case err::kTypeMismatch: return "Type mismatch";
    case 14: return "Out of string space";
    case 28: return "Out of stack space";
    case err::kBadFileNameOrNumber: return "Bad file name or number";
    case err::kFileNotFound: return "File not found";
    case 54: return "Bad file mode";
    case err::kFileAlreadyOpen: return "File already open";
    case err::kDeviceIoError: return "Device I/O error";
    case err::kFileAlreadyExists: return "File already exists";
    case err::kBadRecordLength: return "Bad record length";
    case err::kDiskFull: return "Disk full";
    case err::kInputPastEndOfFile: return "Input past end of file";
    case 63: return "Bad record number";
    case err::kBadFileName: return "Bad file name";
    case err::kTooManyFiles: return "Too many files";
    case 68: return "Device unavailable";
    case err::kPermissionDenied: return "Permission denied";
    case err::kDiskNotReady: return "Disk not ready";
    case 74: return "Can't rename with different drive";
    case err::kPathFileAccessError: return "Path/File access error";
    case err::kPathNotFound: return "Path not found";
    case err::kInvalidPropertyValue: return "Invalid property value";
    case 381: return "Invalid property-array index";
    case err::kSetNotSupportedAtRunTime: return "Set not supported at runtime";
    case 383: return "Set not supported (read-only property)";
    case err::kNotSupportedAtRunTime: return "Get not supported at runtime";
    case err::kNotSupportedAtDesignTime: return "Get not supported (write-only property)";
    case err::kInvalidPortNumber: return "Invalid port number";
    case err::kPortAlreadyOpen: return "Port already open";
    case err::kCancelSelected: return "Cancel was selected.";
    default: return "Application-defined or object-defined error";
    }
}

int32_t errorFromErrno(int errnoValue) {
    switch (errnoValue) {
    case 0: return err::kNone;
    case ENOENT: return err::kFileNotFound;
    case ENOTDIR: return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return err::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return err::kDiskFull;
    case ENOMEM: return err::kOutOfMemory;
    case EEXIST: return err::kFileAlreadyExists;
    case EISDIR:
    case EBUSY:
    case ETXTBSY: return err::kPathFileAccessError;
    case EMFILE:
    case ENFILE: return err::kTooManyFiles;
    case ENAMETOOLONG:
    case EINVAL: return err::kBadFileName;
    case EIO: return err::kDeviceIoError;
    default: return err::kDeviceIoError;
    }
}

int32_t errorFromErrorCode(const std::error_code& error) {
    if (!error) return err::kNone;
    if (error.category() == std::generic_category() || error.category() == std::system_category())
        return errorFromErrno(error.value());
    return err::kDeviceIoError;
}

}  // namespace pelomar::core
