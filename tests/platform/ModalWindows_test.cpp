// The windows the program waits for (the boxes and the modal dialogs) on
// the offscreen platform: where the keys typed meanwhile go.
#include "platform/ModalWindows.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

// Keys the window manager still gives to a window that a box keeps disabled
// (it may hand that window the activation for a moment after putting the
// box back) are typed into the box; once the box has gone, keys go where
// they are typed again.
TEST(ModalWindows, KeysTypedIntoAWindowABoxKeepsDisabledGoToTheBox)
{
    QWidget owner;
    auto* ownerField = new QLineEdit(&owner);
    owner.show();
    QWidget box;
    auto* field = new QLineEdit(&box);
    GuardModalWindow(box);
    box.show();
    field->setFocus();
    owner.setEnabled(false);
    QTest::keyClicks(ownerField, "AB");
    QTest::keyClicks(&owner, "C");
    EXPECT_EQ(field->text(), "ABC");
    EXPECT_EQ(ownerField->text(), "");

    box.hide();
    owner.setEnabled(true);
    QTest::keyClicks(ownerField, "D");
    EXPECT_EQ(field->text(), "ABC");
    EXPECT_EQ(ownerField->text(), "D");
}
