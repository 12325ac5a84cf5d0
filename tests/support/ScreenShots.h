#pragma once
// Pictures of windows for a person to look at: with QVS_SHOT_DIR set, a
// picture is saved there as a PNG file; without it nothing is written.
#include <QDir>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

inline void SaveShot(const QImage& image, const QString& name)
{
    const QString dir = qEnvironmentVariable("QVS_SHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    EXPECT_TRUE(image.save(dir + "/" + name + ".png"));
}
