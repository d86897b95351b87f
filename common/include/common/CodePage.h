#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pelomar {

// Texts are 8-bit code-page (windows-1252) bytes everywhere inside the chart
// and the recorder; these convert at the user interface.
QString fromCodePage(std::string_view bytes);
// Characters the code page cannot hold become '?'.
std::string toCodePage(const QString& text);

}  // namespace pelomar
