#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pelomar {

// File names and paths are the file system's bytes; these convert them at
// the user interface with Qt's file-name encoding (UTF-8 here), never
// through the code page.
QString nameToQt(std::string_view bytes);
// The bytes of a name the user typed or chose. A name that the file system
// holds in bytes that are not UTF-8 reaches Qt with replacement characters;
// each such part of `path` is given back as the bytes of the one name in
// its folder that reads the same, so that it names that file and no other.
std::string nameFromQt(const QString& path);

}  // namespace pelomar
