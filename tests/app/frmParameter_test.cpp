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

    // Types into the entry field, which has the focus, and presses Enter
    // (OK, the default button); returns the answer.
    QString Type(int32_t kind, int maxLength, const QString& keys)
    {
        WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
            EXPECT_EQ(box->focusWidget(), box->txtEntry);
            QTest::keyClicks(box->txtEntry, keys);
            QTest::keyClick(box->txtEntry, Qt::Key_Return);
        });
        EXPECT_EQ(frmParameter::GetParameter(nullptr, "Prompt", kind, maxLength, "", 1, "T"), R::OK);
        return ParameterResult;
    }
};

} // namespace

TEST_F(ParameterTest, TypedKindsFilterConvertAndKeepToTheMaximum)
{
    const std::tuple<int32_t, const char*, const char*> cases[] = {
        {Text, "a:1 b", "A:1 B"},    {Text, "abcdefg", "ABCDEF"}, {Text, "a[b{c", "ABC"},
        {Alphanumeric, "x-1 y", "X1Y"}, {Digits, "a1b2", "12"},   {Hex, "afgF9", "AFF9"},
        {9, "a[b{c", "a[b{c"}, // a kind outside the table takes every character without a limit
    };
    for (const auto& [kind, keys, expected] : cases) {
        SCOPED_TRACE(keys);
        EXPECT_EQ(Type(kind, kind == 9 ? 2 : 6, keys), expected);
    }
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
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        box->txtEntry->paste();
        box->cmdButton[0]->click();
    });
    EXPECT_EQ(frmParameter::GetParameter(nullptr, "Prompt", Alphanumeric, 6, "", 1, "T"), R::Cancel);
    EXPECT_EQ(ParameterResult, "AB12XY");
    // Text the files cannot hold is refused even where every character passes.
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        box->txtEntry->insert(QString::fromUtf8("a\xCE\xA9"));
        box->cmdButton[0]->click();
    });
    frmParameter::GetParameter(nullptr, "Prompt", 9, 8, "", 1, "T");
    EXPECT_EQ(ParameterResult, "");
}

TEST_F(ParameterTest, ListKindPreselectsAndAnswersThePosition)
{
    const QString items = "Optical Smoke;Heat A1R;Heat CS;Multisensor";
    const std::tuple<int, const char*, const char*> cases[] = {
        {9, "Multisensor", "3"}, {-1, "Optical Smoke", "0"}};
    for (const auto& [preselect, expected, result] : cases) {
        QString selected;
        WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
            selected = box->Combo1->currentText();
            EXPECT_FALSE(box->txtEntry->isVisible());
            box->cmdButton[0]->click();
        });
        EXPECT_EQ(frmParameter::GetParameter(nullptr, "Head type", List, preselect, items, 0, "Device"),
                  R::OK);
        EXPECT_EQ(selected, expected);
        EXPECT_EQ(ParameterResult, result);
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
    // The sets are the message box's (see its test), here without access keys.
    const std::tuple<int32_t, QStringList, int32_t> cases[] = {{8 + 4, {"Yes", "No"}, R::No}, {6, {"OK"}, R::OK}};
    for (const auto& [buttons, captions, closeAnswer] : cases) {
        SCOPED_TRACE(buttons);
        QStringList seen;
        WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
            for (QPushButton* b : box->cmdButton)
                if (b->isVisible())
                    seen << b->text();
            QTest::keyClick(box->txtEntry, Qt::Key_Y, Qt::AltModifier); // no access keys
            QTest::keyClick(box->txtEntry, Qt::Key_Escape);
            EXPECT_EQ(box->ResultCode, 0);
            box->close();
        });
        EXPECT_EQ(frmParameter::GetParameter(nullptr, "P", Text, 4, "", buttons, "T"), closeAnswer);
        EXPECT_EQ(seen, captions);
    }
}

TEST_F(ParameterTest, DisablesEveryOtherWindowIncludingErrorCheckAndRefusesASecondCall)
{
    TestWindows windows;
    QWidget* owner = windows.Add("frmDevices", "Device Details");
    QWidget* errors = windows.Add("frmErrorCheck", "Error Check");
    QWidget* wasOff = windows.Add("frmGrid", "Grid", false);
    ParameterResult = "kept";
    int32_t second = -1, messageDuring = -1;
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        EXPECT_FALSE(owner->isEnabled());
        EXPECT_FALSE(errors->isEnabled());
        second = frmParameter::GetParameter(owner, "again", Text, 4, "", 1, "T");
        EXPECT_EQ(ParameterResult, "kept");
        // The message box is a different box and may still open over it.
        WhenShown<frmMsg>("frmMsg", [](frmMsg* msg) { msg->cmdButton[0]->click(); });
        messageDuring = frmMsg::Display(box, "Not found", 64, "T");
        EXPECT_FALSE(owner->isEnabled());
        QTest::keyClicks(box->txtEntry, "7");
        box->cmdButton[1]->click();
    });
    EXPECT_EQ(frmParameter::GetParameter(owner, "P", Text, 4, "", 1, "T"), R::OK);
    EXPECT_EQ(second, R::Refused);
    EXPECT_EQ(messageDuring, R::OK);
    EXPECT_EQ(ParameterResult, "7");
    EXPECT_TRUE(errors->isEnabled());
    EXPECT_FALSE(wasOff->isEnabled());
}
