#include "platform/Win1252Validator.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Type(QLineEdit& edit, const QString& character)
{
    QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, character, Qt::NoModifier);
}

} // namespace

TEST(Win1252Validator, TypedAndPastedTextOutsideTheCodePageIsRefused)
{
    QLineEdit edit;
    platform::LimitToWin1252(&edit);
    edit.setFocus();
    for (const char* c : {"C", "a", "f", "\xC3\xA9", " ", "\xCE\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\xA5"})
        Type(edit, QString::fromUtf8(c));
    EXPECT_EQ(edit.text(), QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"));

    QGuiApplication::clipboard()->setText(QString::fromUtf8(" Block \xCE\xA9"));
    edit.paste();
    EXPECT_EQ(edit.text(), QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC")); // refused whole
    QGuiApplication::clipboard()->setText(" Block \xC3\x85");
    edit.paste();
    EXPECT_EQ(edit.text(), QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC Block \xC3\x85"));
}

TEST(Win1252Validator, TheFieldsOwnRulesStillApply)
{
    QLineEdit edit;
    edit.setValidator(new QRegularExpressionValidator(QRegularExpression("[^/]*"), &edit));
    platform::LimitToWin1252(&edit);
    platform::LimitToWin1252(&edit); // once only
    edit.setFocus();
    for (const char* c : {"a", "/", "\xCE\xA9", "\xC3\xA9"})
        Type(edit, QString::fromUtf8(c));
    EXPECT_EQ(edit.text(), QString::fromUtf8("a\xC3\xA9"));
    EXPECT_EQ(edit.findChildren<platform::Win1252Validator*>().size(), 1);
}
