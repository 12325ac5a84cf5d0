#include "app/AppVersion.h"

AppVersion ProgramVersion()
{
    return {QVS_VERSION_MAJOR, QVS_VERSION_MINOR, QVS_VERSION_PATCH};
}

QString VersionText(const AppVersion& v, int blanksBeforeBuild)
{
    QString text = QString("Version %1.%2").arg(v.major).arg(v.minor, 2, 10, QChar('0'));
    if (blanksBeforeBuild > 0)
        text += QString(blanksBeforeBuild, ' ') + "Build " + QString::number(v.revision);
    return text;
}

QString NoticeText()
{
    return QStringLiteral("Copyright \u00A9 Taramek. All rights reserved.");
}
