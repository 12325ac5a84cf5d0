#include "BoxDriver.h"
#include "app/frmMsg.h"
#include "app/frmParameter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace R = MessageResult;
using namespace ParameterEntry;

namespace {

struct ParameterTest : ::testing::Test
{
    void SetUp() override
    {
        platform::ResetLoadedForms();
        ParameterResult.clear();
    }
    void TearDown() override { platform::ResetLoadedForms(); }

    // Types into the entry field and presses OK; returns the field's text.
    QString Type(int32_t kind, int maxLength, const QString& keys)
    {
        QString text;
        WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
            QTest::keyClicks(box->txtEntry, keys);
            text = box->txtEntry->text();
            box->ResultCode = R::OK;
        });
        frmParameter::GetParameter(nullptr, "Prompt", kind, maxLength, "", 1, "T");
        return text;
    }
};

} // namespace

TEST_F(ParameterTest, TypedKindsFilterConvertAndKeepToTheMaximum)
{
    EXPECT_EQ(Type(Text, 6, "1:25"), "1:25");
    EXPECT_EQ(Type(Text, 6, "ab12"), "AB12");
    EXPECT_EQ(Type(Text, 6, "abcdefg"), "ABCDEF");
    EXPECT_EQ(Type(Text, 6, "a[b{c"), "ABC");
    EXPECT_EQ(Type(Text, 6, "a b"), "A B");
    EXPECT_EQ(Type(Alphanumeric, 10, "x-1 y"), "X1Y");
    EXPECT_EQ(Type(Digits, 10, "a1b2"), "12");
    EXPECT_EQ(Type(Hex, 10, "afgF9"), "AFF9");
    // A kind outside the table takes every character without a limit.
    EXPECT_EQ(Type(9, 2, "a[b{c"), "a[b{c");
}

TEST_F(ParameterTest, CharactersOutsideTheKindsSetAreRefused)
{
    QString text;
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        for (const QString& t : {QString::fromUtf8("\u00e9"), QString("1"), QString("\x16")}) {
            QKeyEvent press(QEvent::KeyPress, t == "\x16" ? Qt::Key_V : Qt::Key_unknown,
                            t == "\x16" ? Qt::ControlModifier : Qt::NoModifier, t);
            QApplication::sendEvent(box->txtEntry, &press);
        }
        text = box->txtEntry->text();
        box->ResultCode = R::OK;
    });
    frmParameter::GetParameter(nullptr, "Prompt", Text, 6, "", 1, "T");
    EXPECT_EQ(text, "1");
}

TEST_F(ParameterTest, BackspaceAndEditingKeysStillWorkAtTheMaximum)
{
    QString text;
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        QTest::keyClicks(box->txtEntry, "abc");
        QTest::keyClick(box->txtEntry, Qt::Key_Backspace);
        QTest::keyClick(box->txtEntry, Qt::Key_Home);
        QTest::keyClicks(box->txtEntry, "9");
        QTest::keyClicks(box->txtEntry, "8"); // the field is full
        text = box->txtEntry->text();
        box->ResultCode = R::OK;
    });
    frmParameter::GetParameter(nullptr, "Prompt", Text, 3, "", 1, "T");
    EXPECT_EQ(text, "9AB");
}

TEST_F(ParameterTest, PastedTextGoesThroughTheSameFilterAndMaximum)
{
    QGuiApplication::clipboard()->setText("ab-12:[x]yz");
    QString text;
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        box->txtEntry->paste();
        text = box->txtEntry->text();
        box->ResultCode = R::OK;
    });
    frmParameter::GetParameter(nullptr, "Prompt", Alphanumeric, 6, "", 1, "T");
    EXPECT_EQ(text, "AB12XY");
    EXPECT_EQ(ParameterResult, "AB12XY");
}

TEST_F(ParameterTest, FindDeviceFieldIsSixCharactersWideAndCentred)
{
    QRectF entry;
    double width = 0;
    QWidget* focus = nullptr;
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        entry = box->EntryTwips;
        width = box->OuterWidth();
        focus = box->focusWidget();
        EXPECT_EQ(focus, box->txtEntry);
        EXPECT_TRUE(box->txtEntry->text().isEmpty());
        EXPECT_FALSE(box->Combo1->isVisible());
        QTest::keyClicks(box->txtEntry, "12");
        QTest::keyClick(box->txtEntry, Qt::Key_Return); // the default button, OK
    });
    EXPECT_EQ(frmParameter::GetParameter(nullptr, "Enter the ident, or loop:address", Text, 6, "", 1,
                                         "Search for a Device"),
              R::OK);
    EXPECT_DOUBLE_EQ(entry.width(), 1800);
    EXPECT_DOUBLE_EQ(entry.center().x(), width / 2);
    EXPECT_EQ(ParameterResult, "12");
}

TEST_F(ParameterTest, ListKindPreselectsAndAnswersThePosition)
{
    const QString items = "Optical Smoke;Heat A1R;Heat CS;Multisensor";
    struct Case
    {
        int preselect;
        QString selected;
        QString result;
    };
    for (const Case& c :
         {Case{2, "Heat CS", "2"}, Case{9, "Multisensor", "3"}, Case{-1, "Optical Smoke", "0"}}) {
        QString selected;
        WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
            selected = box->Combo1->currentText();
            EXPECT_FALSE(box->txtEntry->isVisible());
            EXPECT_EQ(box->Combo1->count(), 4);
            EXPECT_EQ(box->focusWidget(), box->cmdButton[0]);
            box->cmdButton[0]->click();
        });
        EXPECT_EQ(frmParameter::GetParameter(nullptr, "Head type", List, c.preselect, items, 0, "Device"),
                  R::OK);
        EXPECT_EQ(selected, c.selected);
        EXPECT_EQ(ParameterResult, c.result);
    }
    // Enter in the list presses the default button (OK of Cancel/OK).
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        box->Combo1->setFocus();
        QTest::keyClick(box->Combo1, Qt::Key_Down);
        QTest::keyClick(box->Combo1, Qt::Key_Return);
    });
    EXPECT_EQ(frmParameter::GetParameter(nullptr, "Move to", List, -1, "RCC 1;RCC 2", 1, "Device"), R::OK);
    EXPECT_EQ(ParameterResult, "1");
}

TEST_F(ParameterTest, CancelStillWritesTheAnswer)
{
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        QTest::keyClicks(box->txtEntry, "4a");
        EXPECT_EQ(box->cmdButton[0]->text(), "Cancel");
        box->cmdButton[0]->click();
    });
    EXPECT_EQ(frmParameter::GetParameter(nullptr, "P", Text, 6, "", 1, "T"), R::Cancel);
    EXPECT_EQ(ParameterResult, "4A");
}

TEST_F(ParameterTest, ButtonSetsHaveNoAccessKeysAndOddValuesGiveOK)
{
    const std::pair<int32_t, QStringList> cases[] = {
        {1, {"Cancel", "OK"}},
        {2, {"Abort", "Retry", "Ignore"}},
        {3, {"Yes", "No", "Cancel"}},
        {4, {"Yes", "No"}},
        {5, {"Retry", "Cancel"}},
        {0, {"OK"}},
        {6, {"OK"}},
        {8 + 4, {"Yes", "No"}},
        {0x400, {"OK"}},
    };
    for (const auto& [buttons, captions] : cases) {
        QStringList seen;
        WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
            int right = 0;
            for (QPushButton* b : box->cmdButton) {
                if (!b->isVisible())
                    continue;
                seen << b->text();
                EXPECT_GT(b->x(), right) << buttons; // no overlap, even for a short prompt
                right = b->geometry().right() + 1;
            }
            EXPECT_LT(right, box->width()) << buttons;
            QTest::keyClick(box->txtEntry, Qt::Key_Y, Qt::AltModifier); // no access keys
            QTest::keyClick(box->txtEntry, Qt::Key_Escape);
            EXPECT_EQ(box->ResultCode, 0);
            box->close();
        });
        frmParameter::GetParameter(nullptr, "P", Text, 4, "", buttons, "T");
        EXPECT_EQ(seen, captions) << buttons;
    }
}

TEST_F(ParameterTest, WindowManagerCloseAnswersCancelLike)
{
    for (const auto& [buttons, expected] :
         {std::pair{1, R::Cancel}, std::pair{2, R::Abort}, std::pair{4, R::No}, std::pair{0, R::OK}}) {
        WhenShown<frmParameter>("frmParameter", [](frmParameter* box) { box->close(); });
        EXPECT_EQ(frmParameter::GetParameter(nullptr, "P", Text, 4, "", buttons, "T"), expected);
    }
}

TEST_F(ParameterTest, DisablesEveryOtherWindowIncludingErrorCheckAndRefusesASecondCall)
{
    TestWindows windows;
    QWidget* owner = windows.Add("frmDevices", "Device Details");
    QWidget* errors = windows.Add("frmErrorCheck", "Error Check");
    QWidget* wasOff = windows.Add("frmGrid", "Grid", false);
    ParameterResult = "kept";
    int32_t second = -1;
    QString resultDuringRefusal;
    int32_t messageDuring = -1;
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        EXPECT_FALSE(owner->isEnabled());
        EXPECT_FALSE(errors->isEnabled());
        second = frmParameter::GetParameter(owner, "again", Text, 4, "", 1, "T");
        resultDuringRefusal = ParameterResult;
        // The message box is a different box and may still open over it.
        WhenShown<frmMsg>("frmMsg", [](frmMsg* msg) { msg->cmdButton[0]->click(); });
        messageDuring = frmMsg::Display(box, "Not found", 64, "T");
        EXPECT_FALSE(owner->isEnabled());
        QTest::keyClicks(box->txtEntry, "7");
        box->cmdButton[1]->click();
    });
    EXPECT_EQ(frmParameter::GetParameter(owner, "P", Text, 4, "", 1, "T"), R::OK);
    EXPECT_EQ(second, R::Refused);
    EXPECT_EQ(resultDuringRefusal, "kept");
    EXPECT_EQ(messageDuring, R::OK);
    EXPECT_EQ(ParameterResult, "7");
    EXPECT_TRUE(owner->isEnabled());
    EXPECT_TRUE(errors->isEnabled());
    EXPECT_FALSE(wasOff->isEnabled());
    EXPECT_FALSE(platform::IsFormLoaded("frmParameter"));
}
