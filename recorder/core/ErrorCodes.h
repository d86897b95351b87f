#pragma once

#include <cstdint>

namespace tavrin::code {

// The program's own error codes, handed to HandelError.
inline constexpr int16_t kPrintSetupFailed = -25;
inline constexpr int16_t kExportFailed = -24;
inline constexpr int16_t kNoBackupLog = -22;
inline constexpr int16_t kSettingsUnreadable = -20;
inline constexpr int16_t kTabRereadFailed = -19;
inline constexpr int16_t kLogRebuildFailed = -17;
inline constexpr int16_t kDataSaveFailed = -16;
inline constexpr int16_t kOutOfMemory = -15;
inline constexpr int16_t kFirstSyncNotFound = -13;
inline constexpr int16_t kUnknownDataType = -12;
inline constexpr int16_t kUnknownDataParameter = -11;
inline constexpr int16_t kLostSync = -10;

// Serial port events and errors that pass through the same entry.
inline constexpr int16_t kEvSend = 1;
inline constexpr int16_t kEvCts = 3;
inline constexpr int16_t kEvDsr = 4;
inline constexpr int16_t kEvCd = 5;
inline constexpr int16_t kEvRing = 6;
inline constexpr int16_t kEvEof = 7;
inline constexpr int16_t kErBreak = 1001;
inline constexpr int16_t kErCtsTimeout = 1002;
inline constexpr int16_t kErDsrTimeout = 1003;
inline constexpr int16_t kErFrame = 1004;
inline constexpr int16_t kErOverrun = 1006;
inline constexpr int16_t kErCdTimeout = 1007;
inline constexpr int16_t kErRxOver = 1008;
inline constexpr int16_t kErRxParity = 1009;
inline constexpr int16_t kErTxFull = 1010;

// The port's own input buffer, bytes.
inline constexpr int32_t kPortInBufferSize = 32000;

}  // namespace tavrin::code
