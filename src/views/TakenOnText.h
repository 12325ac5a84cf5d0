#pragma once
// The date and time written into a saved table: the system's short date
// followed by its long time, without a time zone.
#include <QDateTime>
#include <QString>

QString TakenOnText(const QDateTime& when = QDateTime::currentDateTime());
