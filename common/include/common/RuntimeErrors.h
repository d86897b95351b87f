#pragma once

#include <cstdint>
#include <string>
#include <system_error>

namespace pelomar::core {

// The platform's run-time error numbers, the interface that members return
// and hosts compare against.
namespace err {
inline constexpr int32_t kNone = 0;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kDivisionByZero = 11;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kBadFileNameOrNumber = 52;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kFileAlreadyOpen = 55;
inline constexpr int32_t kDeviceIoError = 57;
inline constexpr int32_t kFileAlreadyExists = 58;
inline constexpr int32_t kBadRecordLength = 59;
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kInputPastEndOfFile = 62;
inline constexpr int32_t kBadFileName = 64;
inline constexpr int32_t kTooManyFiles = 67;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kDiskNotReady = 71;
inline constexpr int32_t kPathFileAccessError = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kInvalidPropertyValue = 380;
inline constexpr int32_t kSetNotSupportedAtRunTime = 382;
inline constexpr int32_t kNotSupportedAtRunTime = 393;     // ChartType at run time
inline constexpr int32_t kNotSupportedAtDesignTime = 394;  // NumPoints Let at design time
inline constexpr int32_t kInvalidPortNumber = 8002;
inline constexpr int32_t kPortAlreadyOpen = 8005;
// A file dialog that reports its cancel as an error.
inline constexpr int32_t kCancelSelected = 32755;

inline constexpr int32_t kInvalidProcedureCall = 5;
}  // namespace err

// The platform's standard description of an error number; "Application-defined
// or object-defined error" for numbers it does not know.
std::string errorText(int32_t number);

// Maps a C errno value onto the run-time error a file operation would raise.
int32_t errorFromErrno(int errnoValue);
// The same for the error of a std::filesystem call (an errno value in the
// generic or system category; anything else is a device error).
int32_t errorFromErrorCode(const std::error_code& error);

}  // namespace pelomar::core
