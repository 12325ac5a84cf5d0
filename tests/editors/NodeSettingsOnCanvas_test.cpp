#include "app/frmMainFixture.h"
#include "platform/ProgramMessage.h"

#include <QLineEdit>
#include <QToolButton>

using model::Nodes;

// The window opened from the canvas follows the selection; an edit pending
// when another node is clicked is applied to the node it was made on.
TEST_F(MainWindowTest, NodeSettingsApplyPendingEditsWhenAnotherNodeIsClicked)
{
    platform::SetProgramMessageHandler([](QWidget* owner, const std::string& text, int32_t style,
                                          const std::string& title) {
        return frmMsg::Display(owner, QString::fromStdString(text), style, QString::fromStdString(title));
    });
    LoadSite();
    SiteFileName = "site.qvs";
    ClickCaption(1, Qt::LeftButton);
    form->NodeLabel_DblClick(1);
    frmNodeSettings* settings = frmNodeSettings::Loaded();
    ASSERT_NE(settings, nullptr);
    settings->PushPin->click();
    EXPECT_TRUE(NodeSettingsPinned);
    EXPECT_TRUE(settings->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    settings->NameText->setText("East wing");
    EXPECT_EQ(settings->windowTitle(), "RCC 1 Properties *");

    answer = "Yes";
    AnswerMessages();
    ClickCaption(2, Qt::LeftButton);
    EXPECT_EQ(messages, QStringList{"Change Active Object: Changes Have Been Made, Do You Want To Apply Them?"});
    EXPECT_EQ(Nodes[1].Name(), "East wing");
    EXPECT_EQ(Nodes[2].Name(), "RCC name 2");
    EXPECT_EQ(settings->windowTitle(), "RCC 2 Properties");
    EXPECT_EQ(settings->NameText->text(), "RCC name 2");
    EXPECT_TRUE(form->windowTitle().contains(" * "));
    platform::SetProgramMessageHandler({});
}
