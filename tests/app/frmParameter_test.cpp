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

TEST_F(ParameterTest, EditingKeysPassOtherCharactersAreRefused)
{
    QString text;
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        QTest::keyClicks(box->txtEntry, "abc");
        QTest::keyClick(box->txtEntry, Qt::Key_Backspace);
        QTest::keyClick(box->txtEntry, Qt::Key_Home);
        QTest::keyClicks(box->txtEntry, "98"); // the field is full after the 9
        // Delete (sent with DEL by some keyboards) edits; a letter outside
        // ASCII and Ctrl+V are refused.
        auto send = [&](Qt::Key key, Qt::KeyboardModifiers mods, const QString& t) {
            QKeyEvent press(QEvent::KeyPress, key, mods, t);
            QApplication::sendEvent(box->txtEntry, &press);
        };
        send(Qt::Key_Delete, Qt::NoModifier, "\x7f");
        send(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\u00e9"));
        send(Qt::Key_V, Qt::ControlModifier, "\x16");
        text = box->txtEntry->text();
        box->ResultCode = R::OK;
    });
    frmParameter::GetParameter(nullptr, "Prompt", Text, 3, "", 1, "T");
    EXPECT_EQ(text, "9B");
}

TEST_F(ParameterTest, PastedTextIsFilteredAndCancelStillWritesTheAnswer)
{
    QGuiApplication::clipboard()->setText("ab-12:[x]yz");
    QString text;
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        box->txtEntry->paste();
        text = box->txtEntry->text();
        box->cmdButton[0]->click();
    });
    // Cancel still writes the answer.
    EXPECT_EQ(frmParameter::GetParameter(nullptr, "Prompt", Alphanumeric, 6, "", 1, "T"), R::Cancel);
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
    // An empty text is an empty list: nothing to select.
    WhenShown<frmParameter>("frmParameter", [](frmParameter* box) { box->cmdButton[0]->click(); });
    frmParameter::GetParameter(nullptr, "Move to", List, -1, "", 0, "Device");
    EXPECT_EQ(ParameterResult, "-1");
}

TEST_F(ParameterTest, ButtonSetsHaveNoAccessKeysOddValuesGiveOKAndACloseAnswersCancelLike)
{
    struct Case
    {
        int32_t buttons;
        QStringList captions;
        int32_t closeAnswer;
    };
    const Case cases[] = {
        {1, {"Cancel", "OK"}, R::Cancel},
        {2, {"Abort", "Retry", "Ignore"}, R::Abort},
        {3, {"Yes", "No", "Cancel"}, R::Cancel},
        {8 + 4, {"Yes", "No"}, R::No},
        {5, {"Retry", "Cancel"}, R::Cancel},
        {6, {"OK"}, R::OK},
        {0x400, {"OK"}, R::OK},
    };
    for (const Case& c : cases) {
        QStringList seen;
        WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
            int right = 0;
            for (QPushButton* b : box->cmdButton) {
                if (!b->isVisible())
                    continue;
                seen << b->text();
                EXPECT_GT(b->x(), right) << c.buttons; // no overlap, even for a short prompt
                right = b->geometry().right() + 1;
            }
            EXPECT_LT(right, box->width()) << c.buttons;
            QTest::keyClick(box->txtEntry, Qt::Key_Y, Qt::AltModifier); // no access keys
            QTest::keyClick(box->txtEntry, Qt::Key_Escape);
            EXPECT_EQ(box->ResultCode, 0);
            box->close();
        });
        EXPECT_EQ(frmParameter::GetParameter(nullptr, "P", Text, 4, "", c.buttons, "T"), c.closeAnswer);
        EXPECT_EQ(seen, c.captions) << c.buttons;
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
