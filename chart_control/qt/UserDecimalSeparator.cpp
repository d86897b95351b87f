#include "UserDecimalSeparator.h"

#include <QLocale>
#include <QString>

namespace pelomar {

char userDecimalSeparator() {
    const QString p = QLocale().decimalPoint();
    const char c = p.isEmpty() ? '.' : p.at(0).toLatin1();
    return c == 0 ? '.' : c;
}

}  // namespace pelomar
