#pragma once

#include <QFont>
#include <string>

namespace pelomar {

// The chart's font names onto installed faces of the same metrics or role,
// so that no text renders as boxes: "Arial" to Liberation Sans, "Times New
// Roman" to Liberation Serif, "Small Fonts" to a small sans.
QString mappedFontFamily(const std::string& name);

QFont mappedFont(const std::string& name, double points, bool bold, bool italic);

}  // namespace pelomar
