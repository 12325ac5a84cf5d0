#include "platform/ShellOpen.h"
#include "support/FakeOpener.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>
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

// The desktop's opener runs on its own: the call returns while it runs, and
// how it ended is told afterwards, opened for a success, not opened for a
// failure (as where no mail program is set up).
TEST(ShellOpen, TheOpenerRunsOnItsOwnAndHowItEndedIsTold)
{
    FakeOpener opener;
    const QUrl link = QUrl::fromEncoded("mailto:support@quorvel.example?subject=A%20B&body=x%0Ay");
    for (int code : {0, 4}) {
        SCOPED_TRACE(code);
        opener.Reset();
        std::optional<bool> told;
        ASSERT_TRUE(ShellOpenUrl(link, [&told](bool opened) { told = opened; }));
        ASSERT_TRUE(QTest::qWaitFor([&] { return opener.Running(); }, 30000));
        EXPECT_EQ(opener.Link(), link.toEncoded());
        EXPECT_FALSE(told.has_value());
        opener.Exit(code);
        ASSERT_TRUE(QTest::qWaitFor([&] { return told.has_value(); }, 30000));
        EXPECT_EQ(*told, code == 0);
    }
}
