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

struct MsgTest : ::testing::Test
{
    void SetUp() override { platform::ResetLoadedForms(); }
    void TearDown() override { platform::ResetLoadedForms(); }

    // Shows a box and answers it with one key.
    int32_t AnswerWithKey(int32_t style, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        WhenShown<frmMsg>("frmMsg", [key, mods](frmMsg* box) {
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key, mods);
            // An access key clicks its button a moment later; a key that
            // chooses nothing leaves the box open, and the test ends it.
            QPointer<frmMsg> held(box);
            platform::WaitUntil([&] { return held.isNull() || held->ResultCode != 0; }, 400);
            if (!held.isNull() && held->ResultCode == 0)
                held->ResultCode = -1;
        });
        return frmMsg::Display(nullptr, "Question", style, "T");
    }
};

QStringList Captions(frmMsg* box)
{
    QStringList out;
    for (QPushButton* b : box->cmdButton)
        out << (b->isVisible() ? b->text() : "-");
    return out;
}

} // namespace

TEST_F(MsgTest, ButtonSetsCaptionsDefaultsAndFocus)
{
    struct Case
    {
        int32_t style;
        QStringList captions;
        int defaultIndex;
    };
    const Case cases[] = {
        {16, {"&OK", "-", "-"}, 0},
        {33, {"&Cancel", "&OK", "-"}, 1},
        {Exclamation + AbortRetryIgnore, {"&Abort", "&Retry", "&Ignore"}, 1},
        {35, {"&Yes", "&No", "&Cancel"}, 0},
        {36, {"&Yes", "&No", "-"}, 0},
        {RetryCancel, {"&Retry", "&Cancel", "-"}, 0},
        {ContinueAbort, {"&Continue", "&Abort", "-"}, 0},
        {0x410, {"&Proceed", "&Cancel", "-"}, 0},
        {4 + 256, {"&OK", "-", "-"}, 0},
        {7, {"&OK", "-", "-"}, 0},
    };
    for (const Case& c : cases) {
        QStringList seen;
        int defaultSeen = -1;
        QWidget* focus = nullptr;
        WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
            seen = Captions(box);
            for (int i = 0; i < 3; ++i)
                if (box->cmdButton[i] == box->DefaultButton())
                    defaultSeen = i;
            focus = box->focusWidget();
            EXPECT_EQ(focus, box->cmdButton[0]);
            box->ResultCode = R::OK;
        });
        frmMsg::Display(nullptr, "Text", c.style, "Title");
        EXPECT_EQ(seen, c.captions) << c.style;
        EXPECT_EQ(defaultSeen, c.defaultIndex) << c.style;
    }
}

TEST_F(MsgTest, LetterKeysChooseTheirButtonsInEitherCase)
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
}

TEST_F(MsgTest, KeysThatChooseNothingLeaveTheBoxWaiting)
{
    EXPECT_EQ(AnswerWithKey(36, Qt::Key_X), -1);
    EXPECT_EQ(AnswerWithKey(36, Qt::Key_Escape), -1);
    EXPECT_EQ(AnswerWithKey(36, Qt::Key_C), -1); // no Cancel in Yes/No
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

TEST_F(MsgTest, ClickAnswersWithTheButtonsCode)
{
    WhenShown<frmMsg>("frmMsg", [](frmMsg* box) { QTest::mouseClick(box->cmdButton[2], Qt::LeftButton); });
    EXPECT_EQ(frmMsg::Display(nullptr, "Q", AbortRetryIgnore, "T"), R::Ignore);
}

TEST_F(MsgTest, WindowManagerCloseAnswersTheCancelLikeButton)
{
    const std::pair<int32_t, int32_t> cases[] = {{35, R::Cancel},
                                                 {36, R::No},
                                                 {AbortRetryIgnore, R::Abort},
                                                 {ContinueAbort, R::Abort},
                                                 {0x410, R::Cancel},
                                                 {RetryCancel, R::Cancel},
                                                 {64, R::OK}};
    for (const auto& [style, expected] : cases) {
        WhenShown<frmMsg>("frmMsg", [](frmMsg* box) { box->close(); });
        EXPECT_EQ(frmMsg::Display(nullptr, "Q", style, "T"), expected) << style;
    }
    EXPECT_FALSE(platform::IsFormLoaded("frmMsg"));
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

TEST_F(MsgTest, OtherWindowsAreDisabledExceptErrorCheckAndRestoredByIdentity)
{
    TestWindows windows;
    QWidget* owner = windows.Add("frmMain", "Main");
    QWidget* hidden = windows.Add("frmNodeSettings", "Props");
    QWidget* errors = windows.Add("frmErrorCheck", "Error Check");
    QWidget* closing = windows.Add("frmTreeView", "Tree");
    QWidget* wasOff = windows.Add("frmDevices", "Devices", false);
    QWidget* after = windows.Add("frmGrid", "Grid");
    owner->show();

    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        EXPECT_FALSE(owner->isEnabled());
        EXPECT_FALSE(hidden->isEnabled());
        EXPECT_TRUE(errors->isEnabled());
        EXPECT_FALSE(closing->isEnabled());
        EXPECT_FALSE(after->isEnabled());
        EXPECT_TRUE(box->isEnabled());
        // A window before the others in the list closes during the wait.
        windows.owned[3].reset();
        box->cmdButton[0]->click();
    });
    EXPECT_EQ(frmMsg::Display(owner, "Question", 36, "T"), R::Yes);
    EXPECT_TRUE(owner->isEnabled());
    EXPECT_TRUE(hidden->isEnabled());
    EXPECT_TRUE(errors->isEnabled());
    EXPECT_FALSE(wasOff->isEnabled());
    EXPECT_TRUE(after->isEnabled());
    EXPECT_FALSE(platform::IsFormLoaded("frmMsg"));
}

TEST_F(MsgTest, ErrorCheckClosedDuringTheWaitLeavesTheOthersRight)
{
    TestWindows windows;
    QWidget* a = windows.Add("frmMain", "Main");
    windows.Add("frmErrorCheck", "Error Check");
    QWidget* b = windows.Add("frmNodeSettings", "Props", false);
    QWidget* c = windows.Add("frmDevices", "Devices");
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        windows.owned[1].reset();
        box->cmdButton[0]->click();
    });
    frmMsg::Display(a, "Q", 0, "T");
    EXPECT_TRUE(a->isEnabled());
    EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(c->isEnabled());
}

TEST_F(MsgTest, OneLineWithIconIsCentredOnTheIcon)
{
    double buttonTop = 0, height = 0, width = 0;
    QRectF label;
    bool iconShown = false;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        buttonTop = box->ButtonTopTwips;
        height = box->OuterHeight();
        width = box->OuterWidth();
        label = box->LabelTwips;
        iconShown = box->Image1->isVisible();
        EXPECT_EQ(box->windowTitle(), "Open Configuration File");
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        box->ResultCode = 1;
    });
    const int beeps = platform::BeepCount();
    frmMsg::Display(nullptr, "File Not Found", 16, "Open Configuration File");
    EXPECT_EQ(platform::BeepCount(), beeps + 1);
    EXPECT_TRUE(iconShown);
    EXPECT_DOUBLE_EQ(buttonTop, 980);
    EXPECT_DOUBLE_EQ(height, 1985);
    EXPECT_DOUBLE_EQ(label.top(), 255 + 240 - label.height() / 2);
    EXPECT_DOUBLE_EQ(label.left(), 105 + 480 + 200);
    EXPECT_DOUBLE_EQ(width, label.width() + 480 + 1000);
}

TEST_F(MsgTest, TallTextPushesTheButtonsDown)
{
    double buttonTop = 0, labelTop = 0, labelHeight = 0;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        buttonTop = box->ButtonTopTwips;
        labelTop = box->LabelTwips.top();
        labelHeight = box->LabelTwips.height();
        box->ResultCode = 1;
    });
    frmMsg::Display(nullptr, "one\r\ntwo\r\nthree\r\nfour", 48, "T");
    EXPECT_DOUBLE_EQ(labelTop, 120);
    EXPECT_GE(labelHeight, 4 * 240);
    EXPECT_DOUBLE_EQ(buttonTop, 120 + labelHeight + 500);
}

TEST_F(MsgTest, StyleZeroHasNoIconNoBeepOneCentredButtonAndTheAppTitle)
{
    double width = 0, buttonCentre = 0, labelCentre = 0;
    bool iconShown = true;
    QString title;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        width = box->OuterWidth();
        const QRect g = box->cmdButton[0]->geometry();
        buttonCentre = platform::PixelsToTwips(g.x()) + platform::PixelsToTwips(g.width()) / 2.0;
        labelCentre = box->LabelTwips.center().x();
        iconShown = box->Image1->isVisible();
        title = box->windowTitle();
        box->ResultCode = 1;
    });
    const int beeps = platform::BeepCount();
    frmMsg::Display(nullptr, "Plain", 0, "");
    EXPECT_EQ(platform::BeepCount(), beeps);
    EXPECT_FALSE(iconShown);
    EXPECT_EQ(title, AppTitle);
    EXPECT_DOUBLE_EQ(labelCentre, width / 2);
    EXPECT_NEAR(buttonCentre, width / 2, 15);
}

TEST_F(MsgTest, ButtonCentresAreThirdsAndQuartersRoundedHalfToEven)
{
    EXPECT_DOUBLE_EQ(ButtonCentre(0, 1, 3001), 1500.5);
    EXPECT_DOUBLE_EQ(ButtonCentre(1, 2, 3001.5), 2 * 1000.0); // 1000.5 -> 1000
    EXPECT_DOUBLE_EQ(ButtonCentre(0, 2, 3004.5), 1002.0);     // 1001.5 -> 1002
    EXPECT_DOUBLE_EQ(ButtonCentre(2, 3, 4002), 3 * 1000.0);   // 1000.5 -> 1000
}

TEST_F(MsgTest, MessageTextIsShownLiterally)
{
    QString shown;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        shown = box->Label1->text();
        EXPECT_EQ(box->Label1->textFormat(), Qt::PlainText);
        box->ResultCode = 1;
    });
    frmMsg::Display(nullptr, "<b>1:25</b>\r\nline", 0, "T");
    EXPECT_EQ(shown, "<b>1:25</b>\nline");
}

TEST_F(MsgTest, ShortTextStillLeavesRoomBetweenTheButtons)
{
    for (int32_t style : {35, 33, 0x410, 16}) {
        std::vector<QRect> shown;
        int clientWidth = 0;
        WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
            for (QPushButton* b : box->cmdButton)
                if (b->isVisible())
                    shown.push_back(b->geometry());
            clientWidth = box->width();
            box->ResultCode = 1;
        });
        frmMsg::Display(nullptr, "Save ?", style, "T");
        ASSERT_FALSE(shown.empty());
        EXPECT_GT(shown.front().left(), 0) << style;
        EXPECT_LT(shown.back().right(), clientWidth) << style;
        for (size_t i = 1; i < shown.size(); ++i)
            EXPECT_GT(shown[i].left(), shown[i - 1].right() + 1) << style;
    }
}
