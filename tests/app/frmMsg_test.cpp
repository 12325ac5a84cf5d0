#include "BoxDriver.h"
#include "app/Startup.h"
#include "app/frmMsg.h"
#include "platform/Beep.h"
#include "platform/Units.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace MessageStyle;
namespace R = MessageResult;

namespace {

// What a box showed, taken while it waited.
struct Shown
{
    QStringList captions; // "-" for a hidden button
    int defaultIndex = -1;
    bool focusOnFirst = false;
    bool icon = false;
    bool topMost = false;
    bool plainText = false;
    int beeps = 0;
    int32_t answer = -1; // to a close request from the window manager
    QString title, text;
    QRectF label;
    double buttonTop = 0, width = 0, height = 0;
    std::vector<QRect> buttons; // the shown buttons, pixels
    int clientWidth = 0;
};

Shown Show(int32_t style, const QString& text, const QString& title = "T")
{
    Shown s;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        for (int i = 0; i < 3; ++i) {
            QPushButton* b = box->cmdButton[i];
            s.captions << (b->isVisible() ? b->text() : "-");
            if (b->isVisible())
                s.buttons.push_back(b->geometry());
            if (b == box->DefaultButton())
                s.defaultIndex = i;
        }
        s.focusOnFirst = box->focusWidget() == box->cmdButton[0];
        s.icon = box->Image1->isVisible();
        s.topMost = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        s.title = box->windowTitle();
        s.text = box->Label1->text();
        s.plainText = box->Label1->textFormat() == Qt::PlainText;
        s.label = box->LabelTwips;
        s.buttonTop = box->ButtonTopTwips;
        s.width = box->OuterWidth();
        s.height = box->OuterHeight();
        s.clientWidth = box->width();
        box->close();
    });
    const int beeps = platform::BeepCount();
    s.answer = frmMsg::Display(nullptr, text, style, title);
    s.beeps = platform::BeepCount() - beeps;
    return s;
}

struct MsgTest : ::testing::Test
{
    void SetUp() override { platform::ResetLoadedForms(); }
    void TearDown() override { platform::ResetLoadedForms(); }

    // Shows a box and answers it with one key; -1 when the key chose nothing.
    int32_t AnswerWithKey(int32_t style, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        WhenShown<frmMsg>("frmMsg", [key, mods](frmMsg* box) {
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key, mods);
            // An access key clicks its button a moment later.
            QPointer<frmMsg> held(box);
            platform::WaitUntil([&] { return held.isNull() || held->ResultCode != 0; }, 400);
            if (!held.isNull() && held->ResultCode == 0)
                held->ResultCode = -1;
        });
        return frmMsg::Display(nullptr, "Question", style, "T");
    }
};

} // namespace

TEST_F(MsgTest, ButtonSetsCaptionsDefaultsFocusAndCloseAnswer)
{
    struct Case
    {
        int32_t style;
        QStringList captions;
        int defaultIndex;
        int32_t closeAnswer; // the cancel-like button
    };
    const Case cases[] = {
        {33, {"&Cancel", "&OK", "-"}, 1, R::Cancel},
        {Exclamation + AbortRetryIgnore, {"&Abort", "&Retry", "&Ignore"}, 1, R::Abort},
        {35, {"&Yes", "&No", "&Cancel"}, 0, R::Cancel},
        {36, {"&Yes", "&No", "-"}, 0, R::No},
        {RetryCancel, {"&Retry", "&Cancel", "-"}, 0, R::Cancel},
        {ContinueAbort, {"&Continue", "&Abort", "-"}, 0, R::Abort},
        {0x410, {"&Proceed", "&Cancel", "-"}, 0, R::Cancel},
        {4 + 256, {"&OK", "-", "-"}, 0, R::OK},
        {7, {"&OK", "-", "-"}, 0, R::OK},
    };
    for (const Case& c : cases) {
        const Shown s = Show(c.style, "Text");
        EXPECT_EQ(s.captions, c.captions) << c.style;
        EXPECT_EQ(s.defaultIndex, c.defaultIndex) << c.style;
        EXPECT_EQ(s.answer, c.closeAnswer) << c.style;
        EXPECT_TRUE(s.focusOnFirst) << c.style;
        // Short text still leaves room between and beside the buttons.
        EXPECT_GT(s.buttons.front().left(), 0) << c.style;
        EXPECT_LT(s.buttons.back().right(), s.clientWidth) << c.style;
        for (size_t i = 1; i < s.buttons.size(); ++i)
            EXPECT_GT(s.buttons[i].left(), s.buttons[i - 1].right() + 1) << c.style;
    }
}

TEST_F(MsgTest, LetterKeysChooseTheirButtonsInEitherCaseOthersNothing)
{
    EXPECT_EQ(AnswerWithKey(35, Qt::Key_Y), R::Yes);
    EXPECT_EQ(AnswerWithKey(35, Qt::Key_N), R::No);
    EXPECT_EQ(AnswerWithKey(35, Qt::Key_C), R::Cancel);
    EXPECT_EQ(AnswerWithKey(0x410, Qt::Key_P, Qt::ShiftModifier), R::Proceed);
    EXPECT_EQ(AnswerWithKey(0x410, Qt::Key_C), R::Cancel);
    EXPECT_EQ(AnswerWithKey(ContinueAbort, Qt::Key_C), R::Continue);
    EXPECT_EQ(AnswerWithKey(ContinueAbort, Qt::Key_A), R::Abort);
    EXPECT_EQ(AnswerWithKey(AbortRetryIgnore, Qt::Key_R), R::Retry);
    EXPECT_EQ(AnswerWithKey(AbortRetryIgnore, Qt::Key_I), R::Ignore);
    EXPECT_EQ(AnswerWithKey(64, Qt::Key_O), R::OK);
    // Access keys with Alt choose the same buttons.
    EXPECT_EQ(AnswerWithKey(36, Qt::Key_N, Qt::AltModifier), R::No);
    // Other keys, and letters whose button is not in the set, choose nothing.
    EXPECT_EQ(AnswerWithKey(36, Qt::Key_X), -1);
    EXPECT_EQ(AnswerWithKey(36, Qt::Key_Escape), -1);
    EXPECT_EQ(AnswerWithKey(36, Qt::Key_C), -1);
    EXPECT_EQ(AnswerWithKey(16, Qt::Key_Y), -1);
}

TEST_F(MsgTest, EnterAndSpacePressTheFocusedButtonAndTabMovesOn)
{
    // The focus starts on the left button, Cancel in the Cancel/OK set.
    EXPECT_EQ(AnswerWithKey(33, Qt::Key_Return), R::Cancel);
    EXPECT_EQ(AnswerWithKey(36, Qt::Key_Space), R::Yes);
    WhenShown<frmMsg>("frmMsg", [](frmMsg* box) {
        QTest::keyClick(box->cmdButton[0], Qt::Key_Tab);
        ASSERT_EQ(box->focusWidget(), box->cmdButton[1]);
        QTest::keyClick(box->cmdButton[1], Qt::Key_Return);
    });
    EXPECT_EQ(frmMsg::Display(nullptr, "Q", 35, "T"), R::No);
}

TEST_F(MsgTest, SecondBoxIsRefusedAndTheFirstKeepsItsAnswer)
{
    int32_t second = -1;
    int beepsDuringRefusal = -1;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        const int before = platform::BeepCount();
        second = frmMsg::Display(nullptr, "Another", 16, "Second");
        beepsDuringRefusal = platform::BeepCount() - before;
        EXPECT_EQ(frmMsg::Current(), box);
        QTest::keyClick(box, Qt::Key_Y);
    });
    EXPECT_EQ(frmMsg::Display(nullptr, "First", 36, "First"), R::Yes);
    EXPECT_EQ(second, R::Refused);
    EXPECT_EQ(beepsDuringRefusal, 0);
    // Once the first has closed a new box is allowed again.
    EXPECT_EQ(AnswerWithKey(64, Qt::Key_O), R::OK);
}

TEST_F(MsgTest, OtherWindowsAreDisabledExceptErrorCheckAndRestoredWhenItCloses)
{
    TestWindows windows;
    QWidget* owner = windows.Add("frmMain", "Main");
    QWidget* hidden = windows.Add("frmNodeSettings", "Props");
    QWidget* errors = windows.Add("frmErrorCheck", "Error Check");
    QWidget* tree = windows.Add("frmTreeView", "Tree");
    QWidget* wasOff = windows.Add("frmDevices", "Devices", false);
    QWidget* after = windows.Add("frmGrid", "Grid");
    owner->show();

    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        EXPECT_FALSE(owner->isEnabled());
        EXPECT_FALSE(hidden->isEnabled());
        EXPECT_TRUE(errors->isEnabled());
        EXPECT_FALSE(tree->isEnabled());
        EXPECT_FALSE(after->isEnabled());
        EXPECT_TRUE(box->isEnabled());
        // The error list, before others in the list, closes during the wait.
        windows.owned[2].reset();
        box->cmdButton[0]->click();
    });
    EXPECT_EQ(frmMsg::Display(owner, "Question", 36, "T"), R::Yes);
    EXPECT_TRUE(owner->isEnabled());
    EXPECT_TRUE(hidden->isEnabled());
    EXPECT_TRUE(tree->isEnabled());
    EXPECT_FALSE(wasOff->isEnabled());
    EXPECT_TRUE(after->isEnabled());
    EXPECT_FALSE(platform::IsFormLoaded("frmMsg"));
}

TEST_F(MsgTest, OneLineWithIconIsCentredOnTheIcon)
{
    const Shown s = Show(16, "File Not Found", "Open Configuration File");
    EXPECT_EQ(s.title, "Open Configuration File");
    EXPECT_TRUE(s.topMost);
    EXPECT_TRUE(s.icon);
    EXPECT_EQ(s.beeps, 1);
    EXPECT_DOUBLE_EQ(s.buttonTop, 980);
    EXPECT_DOUBLE_EQ(s.height, 1985);
    EXPECT_DOUBLE_EQ(s.label.top(), 255 + 240 - s.label.height() / 2);
    EXPECT_DOUBLE_EQ(s.label.left(), 105 + 480 + 200);
    EXPECT_DOUBLE_EQ(s.width, s.label.width() + 480 + 1000);
}

TEST_F(MsgTest, TallTextPushesTheButtonsDown)
{
    const Shown s = Show(48, "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_DOUBLE_EQ(s.label.top(), 120);
    EXPECT_GE(s.label.height(), 4 * 240);
    EXPECT_DOUBLE_EQ(s.buttonTop, 120 + s.label.height() + 500);
}

TEST_F(MsgTest, StyleZeroHasNoIconNoBeepOneCentredButtonTheAppTitleAndLiteralText)
{
    const Shown s = Show(0, "<b>1:25</b>\r\nline", "");
    EXPECT_EQ(s.beeps, 0);
    EXPECT_FALSE(s.icon);
    EXPECT_EQ(s.title, AppTitle);
    EXPECT_EQ(s.text, "<b>1:25</b>\nline");
    EXPECT_TRUE(s.plainText);
    EXPECT_DOUBLE_EQ(s.label.center().x(), s.width / 2);
    const QRect b = s.buttons.front();
    EXPECT_NEAR(platform::PixelsToTwips(b.x()) + platform::PixelsToTwips(b.width()) / 2.0, s.width / 2, 15);
}

TEST_F(MsgTest, ButtonCentresAreThirdsAndQuartersRoundedHalfToEven)
{
    EXPECT_DOUBLE_EQ(ButtonCentre(0, 1, 3001), 1500.5);
    EXPECT_DOUBLE_EQ(ButtonCentre(1, 2, 3001.5), 2 * 1000.0); // 1000.5 -> 1000
    EXPECT_DOUBLE_EQ(ButtonCentre(0, 2, 3004.5), 1002.0);     // 1001.5 -> 1002
    EXPECT_DOUBLE_EQ(ButtonCentre(2, 3, 4002), 3 * 1000.0);   // 1000.5 -> 1000
}
