#include "platform/SystemClock.h"

#include <QDateTime>
#include <QLocale>

#include "common/CodePage.h"

namespace tavrin {

std::string SystemClock::nowText() const {
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    // The long time form would carry the time zone; seconds are kept.
    QString time = locale.timeFormat(QLocale::ShortFormat);
    if (!time.contains(QLatin1String("ss"))) time.replace(QLatin1String("mm"), QLatin1String("mm:ss"));
    return pelomar::toCodePage(locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                               locale.toString(now.time(), time));
}

}  // namespace tavrin
