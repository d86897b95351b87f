#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pelomar {

// File names and paths are the file system's bytes; these convert them at
// the user interface with Qt's file-name encoding (UTF-8 here), never
// through the code page. Bytes that are not UTF-8 show as replacement
// characters, and such a shown name names no file but itself.
QString nameToQt(std::string_view bytes);
std::string nameFromQt(const QString& name);

}  // namespace pelomar
