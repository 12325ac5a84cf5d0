#include "ViewWindows.h"
#include "platform/ShellOpen.h"
#include "support/FakeOpener.h"
#include "support/ScreenShots.h"
#include "views/frmComments.h"

#include <QLabel>
#include <QTextEdit>
#include <QUrl>

TEST_F(ViewWindowTest, FeedbackHandsTheTypedTextToTheMailProgram)
{
    std::vector<QByteArray> opened;
    bool accepts = true;
    platform::SetShellOpenHandler([&](const QUrl& url) {
        opened.push_back(url.toEncoded());
        return accepts;
    });
    frmComments* window = frmComments::Load();
    window->show();
    QTest::keyClicks(window->Message, "Q&A #1");
    QTest::keyClick(window->Message, Qt::Key_Return);
    QTest::keyClicks(window->Message, "50%?");
    SaveShot(window->grab().toImage(), "comments");
    QTest::mouseClick(window->Recipient, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    const QByteArray link = opened[0];
    EXPECT_TRUE(link.startsWith("mailto:" + window->Recipient->text().toLatin1() +
                                "?subject=Feedback%20on%20Quorvel%20Config%20Tool%20Version%20"))
        << link.toStdString();
    EXPECT_TRUE(link.endsWith("&body=Q%26A%20%231%0A50%25%3F")) << link.toStdString();
    EXPECT_TRUE(messages.empty());

    accepts = false;
    QTest::mouseClick(window->Recipient, Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, "Unable to Open Email Client");
    EXPECT_EQ(messages[0].Title, "Send Comments");
    EXPECT_EQ(window->Message->toPlainText(), "Q&A #1\n50%?");
    platform::SetShellOpenHandler({});
}

// A mail program that does not open is said once the desktop's opener has
// failed; the click does not wait for the opener, and the typed text stays.
TEST_F(ViewWindowTest, AMailProgramThatDoesNotOpenIsSaidWithoutHoldingTheWindow)
{
    FakeOpener opener;
    frmComments* window = frmComments::Load();
    window->show();
    QTest::keyClicks(window->Message, "Fault report");
    QTest::mouseClick(window->Recipient, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opener.Running(); }, 30000));
    EXPECT_TRUE(opener.Link().startsWith("mailto:")) << opener.Link().toStdString();
    EXPECT_TRUE(messages.empty());
    opener.Exit(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, 30000));
    EXPECT_EQ(messages[0].Text, "Unable to Open Email Client");
    EXPECT_EQ(messages[0].Title, "Send Comments");
    EXPECT_EQ(window->Message->toPlainText(), "Fault report");
}
