#include "views/TakenOnText.h"

#include <QLocale>

QString TakenOnText(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(when.date(), QLocale::ShortFormat) + " " + locale.toString(when.time(), timeFormat.trimmed());
}
