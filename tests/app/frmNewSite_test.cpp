#include "ModalAnswer.h"
#include "app/frmNewSite.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The dialog as a test shows it: the test answers it itself.
struct NewSiteDialog : frmNewSite
{
    NewSiteDialog()
    {
        modalwatch::AnswersWhile(this, [this](const QWidget* w) { return w == this; });
    }
};

// Picks item i of a list as the user does, with the arrow key.
void Choose(QComboBox* box, int i)
{
    box->setCurrentIndex(i - 1);
    QTest::keyClick(box, Qt::Key_Down);
}

} // namespace

TEST(frmNewSite, StartsWithOneRccAndNothingElseChosen)
{
    frmNewSite dialog;
    EXPECT_EQ(dialog.QtyCombo->count(), 31);
    EXPECT_EQ(dialog.QtyCombo->currentText(), "1");
    EXPECT_EQ(dialog.LoopIndex(), -1);
    EXPECT_EQ(dialog.ProtocolIndex(), -1);
    EXPECT_FALSE(dialog.RLMCheck->isChecked());
}

TEST(frmNewSite, OkReportsTheFirstMissingChoiceAndStaysOpen)
{
    NewSiteDialog dialog;
    dialog.show();
    EXPECT_EQ(dialog.QtyCombo->currentText(), "1"); // one RCC, nothing else chosen
    dialog.NameText->insert(QString::fromUtf8("\xCE\xA9")); // the site file could not hold it
    EXPECT_TRUE(dialog.NameText->text().isEmpty());
    ModalAnswer answer;
    // typed text is not a choice, not even once the typing ends
    QTest::keyClicks(dialog.LoopCombo->lineEdit(), "2");
    emit dialog.LoopCombo->lineEdit()->editingFinished(); // as when the box loses the focus
    dialog.cmdOK_Click();
    ASSERT_EQ(answer.texts.size(), 1);
    EXPECT_EQ(answer.texts[0], "You Must Select The Number of Loops");
    EXPECT_TRUE(dialog.isVisible());

    Choose(dialog.LoopCombo, 1);
    dialog.cmdOK_Click();
    EXPECT_EQ(answer.texts.last(), "You Must Select The Protocol");

    Choose(dialog.ProtocolCombo, 1);
    Choose(dialog.QtyCombo, 2);
    dialog.NameText->setText(" Block A ");
    dialog.cmdOK_Click();
    EXPECT_EQ(answer.texts.size(), 2);
    EXPECT_EQ(dialog.Tag, "1");
    const app::NewSiteChoice c = dialog.Choice();
    EXPECT_EQ(c.loopCount, 2);
    EXPECT_EQ(c.protocol, 2);
    EXPECT_EQ(c.rccCount, 3);
    EXPECT_EQ(c.name, " Block A ");
    EXPECT_FALSE(c.rlm);
}

TEST(frmNewSite, RlmProjectNeedsOnlyTheProtocol)
{
    NewSiteDialog dialog;
    dialog.show();
    dialog.RLMCheck->click();
    EXPECT_FALSE(dialog.LoopCombo->isVisible());
    ModalAnswer answer;
    dialog.cmdOK_Click();
    ASSERT_EQ(answer.texts.size(), 1);
    EXPECT_EQ(answer.texts[0], "You Must Select The Protocol");

    // clearing the box again shows the lists, the loop count now "1"
    dialog.RLMCheck->click();
    EXPECT_TRUE(dialog.LoopCombo->isVisible());
    EXPECT_EQ(dialog.LoopCombo->currentText(), "1");
    dialog.RLMCheck->click();

    Choose(dialog.ProtocolCombo, 0);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.Tag, "1");
    const app::NewSiteChoice c = dialog.Choice();
    EXPECT_TRUE(c.rlm);
    EXPECT_EQ(c.loopCount, 1);
    EXPECT_EQ(c.protocol, 1);
}

TEST(frmNewSite, CancelAndCloseBoxGiveNoSite)
{
    NewSiteDialog dialog;
    dialog.show();
    Choose(dialog.LoopCombo, 0);
    Choose(dialog.ProtocolCombo, 0);
    dialog.cmdCancel_Click();
    EXPECT_EQ(dialog.Tag, "0");
    frmNewSite closed;
    closed.show();
    closed.Tag = "1";
    closed.close();
    EXPECT_EQ(closed.Tag, "0");
}
