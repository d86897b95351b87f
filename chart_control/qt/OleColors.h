#pragma once

#include <QColor>

#include "pelomar/Enums.h"

namespace pelomar {

// 0x00BBGGRR to a QColor; a system colour (top bit set) takes the palette's.
QColor toQColor(OleColor color);

}  // namespace pelomar
