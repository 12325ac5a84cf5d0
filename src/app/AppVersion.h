#pragma once
// The program's version numbers and the texts built from them.
#include <QString>

struct AppVersion
{
    int major;
    int minor;
    int revision;
};

// The version this build carries.
AppVersion ProgramVersion();

// "Version 3.00" (the minor number with at least two digits); with
// blanksBeforeBuild > 0, followed by that many blanks, "Build " and the
// revision.
QString VersionText(const AppVersion& v, int blanksBeforeBuild = 0);

// The notice shown by the splash and the about window.
QString NoticeText();
