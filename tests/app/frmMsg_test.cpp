#include "BoxDriver.h"
#include "app/Startup.h"
#include "app/frmMsg.h"
#include "platform/Beep.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace MessageStyle;
namespace R = MessageResult;

namespace {

// What a box showed, taken while it waited; the box is then closed from the
// window manager.
struct Shown
{
    QStringList captions; // "-" for a hidden button
    int defaultIndex = -1, beeps = 0;
    bool focusOnFirst = false, icon = false, plainText = false;
    int32_t answer = -1;
    QString title;
};

Shown Show(int32_t style, const QString& text, const QString& title = "T")
{
    Shown s;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        for (int i = 0; i < 3; ++i) {
            QPushButton* b = box->cmdButton[i];
            s.captions << (b->isVisible() ? b->text() : "-");
            if (b == box->DefaultButton())
                s.defaultIndex = i;
        }
        s.focusOnFirst = box->focusWidget() == box->cmdButton[0];
        s.icon = box->Image1->isVisible();
        s.plainText = box->Label1->textFormat() == Qt::PlainText;
        s.title = box->windowTitle();
        box->close();
    });
    const int beeps = platform::BeepCount();
    s.answer = frmMsg::Display(nullptr, text, style, title);
    s.beeps = platform::BeepCount() - beeps;
    return s;
}

// Shows a box and sends it keys; -1 when they chose nothing.
int32_t AnswerWithKeys(int32_t style, QList<Qt::Key> keys, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    WhenShown<frmMsg>("frmMsg", [keys, mods](frmMsg* box) {
        for (Qt::Key key : keys)
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key, mods);
        if (box->ResultCode == 0) // the keys chose nothing
            box->ResultCode = -1;
    });
    return frmMsg::Display(nullptr, "Question", style, "T");
}

struct MsgTest : ::testing::Test
{
    void SetUp() override { platform::ResetLoadedForms(); }
};

} // namespace

TEST_F(MsgTest, ButtonSetsKeysIconBeepAndTitleFollowTheStyle)
{
    struct Case
    {
        int32_t style;
        QStringList captions;
        int defaultIndex;
        int32_t closeAnswer; // the cancel-like button
    } const cases[] = {
        {33, {"&Cancel", "&OK", "-"}, 1, R::Cancel},
        {Exclamation + AbortRetryIgnore, {"&Abort", "&Retry", "&Ignore"}, 1, R::Abort},
        {36, {"&Yes", "&No", "-"}, 0, R::No},
        {7, {"&OK", "-", "-"}, 0, R::OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        const Shown s = Show(c.style, "Text");
        EXPECT_EQ(s.captions, c.captions);
        EXPECT_EQ(s.defaultIndex, c.defaultIndex);
        EXPECT_EQ(s.answer, c.closeAnswer);
        EXPECT_TRUE(s.focusOnFirst);
    }

    // Letters in either case choose their button; letters whose button is
    // not in the set choose nothing.
    struct LetterCase
    {
        int32_t style;
        const char* letters;
        std::vector<int32_t> expected;
    } const letterCases[] = {
        {35, "ynC", {R::Yes, R::No, R::Cancel}},
        {0x410, "P", {R::Proceed}},
        {36, "c", {-1}},
    };
    for (const LetterCase& c : letterCases)
        for (size_t i = 0; i < c.expected.size(); ++i) {
            SCOPED_TRACE(testing::Message() << c.style << " " << c.letters[i]);
            const QChar letter(c.letters[i]);
            EXPECT_EQ(AnswerWithKeys(c.style, {Qt::Key(letter.toUpper().unicode())},
                                     letter.isUpper() ? Qt::ShiftModifier : Qt::NoModifier),
                      c.expected[i]);
        }
    EXPECT_EQ(AnswerWithKeys(36, {Qt::Key_Escape}), -1);
    // Enter presses the focused button, the left one at first.
    EXPECT_EQ(AnswerWithKeys(35, {Qt::Key_Tab, Qt::Key_Return}), R::No);

    Shown s = Show(16, "File Not Found", "Open");
    EXPECT_EQ(s.beeps, 1);
    EXPECT_TRUE(s.icon);
    EXPECT_EQ(s.title, "Open");
    // Style 0: no icon, no beep, the application's title, the text literally.
    s = Show(0, "<b>1:25</b>\r\nline", "");
    EXPECT_EQ(s.beeps, 0);
    EXPECT_FALSE(s.icon);
    EXPECT_EQ(s.title, AppTitle);
    EXPECT_TRUE(s.plainText);
}

TEST_F(MsgTest, WhileWaitingOtherWindowsButErrorCheckAreDisabledAndASecondBoxIsRefused)
{
    TestWindows windows;
    QWidget* owner = windows.Add("frmMain", "Main");
    QWidget* errors = windows.Add("frmErrorCheck", "Error Check");
    QWidget* tree = windows.Add("frmTreeView", "Tree");
    QWidget* wasOff = windows.Add("frmDevices", "Devices", false);
    // Disabled by a serial window, which goes while the box waits and gives
    // it back.
    QWidget* givenBack = windows.Add("frmGrid", "Grid", false);
    owner->show();
    const std::vector<QWidget*> others = {owner, tree};
    int32_t second = -1;
    int beepsDuringRefusal = -1;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        const int before = platform::BeepCount();
        second = frmMsg::Display(nullptr, "Another", 16, "Second");
        beepsDuringRefusal = platform::BeepCount() - before;
        // It belongs to its owner, so the frame offers no minimise button.
        EXPECT_EQ(box->windowHandle()->transientParent(), owner->windowHandle());
        for (QWidget* w : others)
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_TRUE(errors->isEnabled());
        // The error list, before others in the list, closes during the wait.
        windows.owned[1].reset();
        givenBack->setEnabled(true);
        EXPECT_FALSE(givenBack->isEnabled()) << "enabled under the box";
        box->cmdButton[0]->click();
    });
    EXPECT_EQ(frmMsg::Display(owner, "Question", 36, "T"), R::Yes);
    for (QWidget* w : others)
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(wasOff->isEnabled());
    EXPECT_TRUE(givenBack->isEnabled());
    EXPECT_EQ(second, R::Refused);
    EXPECT_EQ(beepsDuringRefusal, 0);
    EXPECT_EQ(AnswerWithKeys(64, {Qt::Key_O}), R::OK); // allowed again once the first has closed
}

namespace {

// Where a box put its label and buttons, twips.
struct Placed
{
    QRectF label;
    double buttonTop = 0, width = 0;
};

Placed Place(int32_t style, const QString& text)
{
    Placed p;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        p.label = box->LabelTwips;
        p.buttonTop = box->ButtonTopTwips;
        p.width = box->OuterWidth();
        box->close();
    });
    frmMsg::Display(nullptr, text, style, "T");
    return p;
}

} // namespace

TEST_F(MsgTest, TextWithoutAnIconIsCentredInTheBox)
{
    for (const QString& text :
         {QString("No"), QString("A message long enough to make the box wider\r\nand a line")}) {
        const Placed p = Place(0, text);
        EXPECT_DOUBLE_EQ(p.label.center().x(), p.width / 2) << text.toStdString();
        EXPECT_DOUBLE_EQ(p.label.top(), frmMsg::kLabelTop);
        EXPECT_DOUBLE_EQ(p.buttonTop, frmMsg::kLabelTop + p.label.height() + 500);
    }
}

TEST_F(MsgTest, LayoutFollowsTheIconAndTheText)
{
    // One line beside the icon: centred on the icon's middle, the buttons
    // below the icon, the box as wide as icon and text.
    Placed p = Place(16, "A message as long as the one about the Communications Port");
    EXPECT_DOUBLE_EQ(p.label.left(), frmMsg::kImageLeft + 480 + 200);
    EXPECT_DOUBLE_EQ(p.label.center().y(), frmMsg::kImageTop + 240);
    EXPECT_DOUBLE_EQ(p.buttonTop, 980);
    EXPECT_DOUBLE_EQ(p.width, p.label.width() + 480 + 1000);

    // Text taller than the icon keeps its top and pushes the buttons down.
    p = Place(48, "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_DOUBLE_EQ(p.label.top(), frmMsg::kLabelTop);
    EXPECT_DOUBLE_EQ(p.buttonTop, frmMsg::kLabelTop + p.label.height() + 500);
}
