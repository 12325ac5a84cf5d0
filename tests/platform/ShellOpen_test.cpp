#include "platform/ShellOpen.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

using namespace platform;

TEST(ShellOpen, OnlyFilesThatExistReachTheDesktop)
{
    std::vector<QUrl> opened;
    SetShellOpenHandler([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    QTemporaryDir dir;
    const QString guide = dir.filePath("Users Guide.pdf");

    EXPECT_FALSE(ShellOpenFile(guide));
    EXPECT_FALSE(ShellOpenFile(dir.path())); // a folder is no document
    EXPECT_TRUE(opened.empty());

    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(ShellOpenFile(guide));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile(), guide); // the blank survives
    SetShellOpenHandler({});
}
