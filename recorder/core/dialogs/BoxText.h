#pragma once

#include <string>

namespace tavrin {

// A multi-line text box breaks lines with LF; the system's texts with CR LF.
// A lone CR or LF in a stored text shows as a line break as well.
std::string toBoxText(const std::string& text);
std::string fromBoxText(const std::string& boxText);

}  // namespace tavrin
