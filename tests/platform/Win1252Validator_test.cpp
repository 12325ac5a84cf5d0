#include "platform/Win1252Validator.h"

#include "platform/Beep.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTest>
#include <gtest/gtest.h>

TEST(Win1252Validator, TypedAndPastedTextOutsideTheCodePageIsRefusedWithABeepAndTheFieldsOwnRulesStay)
{
    const int beeps = platform::BeepCount();
    QLineEdit edit;
    edit.setValidator(new QRegularExpressionValidator(QRegularExpression("[^/]*"), &edit));
    platform::LimitToWin1252(&edit);
    platform::LimitToWin1252(&edit); // once only
    EXPECT_EQ(edit.findChildren<platform::Win1252Validator*>().size(), 1);
    for (const char* c : {"C", "/", "\xC3\xA9", "\xCE\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\xA5"})
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString::fromUtf8(c), Qt::NoModifier);
    EXPECT_EQ(edit.text(), QString::fromUtf8("C\xC3\xA9\xE2\x82\xAC"));
    EXPECT_EQ(platform::BeepCount() - beeps, 2); // the field's own refusal is silent

    QGuiApplication::clipboard()->setText(QString::fromUtf8(" Block \xCE\xA9"));
    edit.paste();
    EXPECT_EQ(edit.text(), QString::fromUtf8("C\xC3\xA9\xE2\x82\xAC")); // refused whole
    EXPECT_EQ(platform::BeepCount() - beeps, 3);
    QGuiApplication::clipboard()->setText(" Block \xC3\x85");
    edit.paste();
    EXPECT_EQ(edit.text(), QString::fromUtf8("C\xC3\xA9\xE2\x82\xAC Block \xC3\x85"));
    EXPECT_EQ(platform::BeepCount() - beeps, 3);
}
