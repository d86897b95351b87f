#pragma once

#include <string>

namespace tavrin {

// An instance record of "LogInfo": name|date|time|folder.

// The fourth field: the characters met while three "|" have been seen.
std::string LogInfoFolderField(const std::string& Entry);

// The recovery-list line of a record: two spaces, the name, spaces up to
// column 32, the date, spaces up to column 45, the time.
std::string FormatLogInfoLine(const std::string& Entry);

// A folder name this program could have made: decimal digits only, so that a
// name read from the store never leads out of the "Log" folder.
bool IsInstanceFolderName(const std::string& name);

}  // namespace tavrin
