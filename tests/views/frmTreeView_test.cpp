#include "SiteViewFixture.h"
#include "support/ScreenShots.h"
#include "views/core/TreeViewLines.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>

using views::TreeViewBy;

class TreeViewTest : public SiteViewTest
{
protected:
    frmTreeView* OpenTree(const QString& site)
    {
        return OpenView<frmTreeView>(site, &frmMain::TreeView_Click);
    }

    static std::vector<views::TreeLine> SiteLines(TreeViewBy by, bool details)
    {
        return views::TreeViewLines({model::Nodes, LoopAddressOwner, LoopCount, MaxLoopAddress}, by, details);
    }

    static void ClickLine(frmTreeView& tree, const QString& key)
    {
        QTreeWidgetItem* line = tree.TreeView->Line(key);
        ASSERT_NE(line, nullptr) << key.toStdString();
        tree.TreeView->scrollToItem(line);
        QTest::mouseClick(tree.TreeView->viewport(), Qt::LeftButton, {},
                          tree.TreeView->visualItemRect(line).center());
    }
};

TEST_F(TreeViewTest, ShowsEveryLineByRccAndByLoopWithAndWithoutDetails)
{
    for (const char* site : {"hub-site.qvs", "loop-interface.qvs"}) {
        frmTreeView* tree = OpenTree(site);
        ASSERT_NE(tree, nullptr);
        EXPECT_TRUE(tree->OptNode->isChecked() && tree->chkDetails->isChecked());
        EXPECT_EQ(Expanded(*tree->TreeView), QStringList{"Hub"});
        for (QAbstractButton* option : {tree->OptNode, tree->OptLoop}) {
            option->click();
            const TreeViewBy by = option == tree->OptNode ? TreeViewBy::Rcc : TreeViewBy::Loop;
            for (bool details : {false, true}) {
                tree->chkDetails->setChecked(details);
                EXPECT_EQ(Shown(*tree->TreeView), SiteLines(by, details)) << site;
            }
        }
        frmTreeView::Unload();
    }
}

TEST_F(TreeViewTest, ExpandAndCollapse)
{
    frmTreeView* tree = OpenTree("hub-site.qvs");
    ASSERT_NE(tree, nullptr);
    tree->cmdExpand->click();
    EXPECT_EQ(tree->cmdExpand->text(), "Collapse &All");
    EXPECT_EQ(Expanded(*tree->TreeView).size(), 1 + 2 + 8); // every line with child lines
    SaveShot(tree->grab().toImage(), "frmTreeView");

    // A change of view keeps everything open; a change of details opens the
    // root only and leaves the caption.
    tree->OptLoop->click();
    EXPECT_EQ(Expanded(*tree->TreeView).size(), 1 + 2 + 7); // a head's second address lists nothing
    tree->chkDetails->click();
    EXPECT_EQ(Expanded(*tree->TreeView), QStringList{"Hub"});
    EXPECT_EQ(tree->cmdExpand->text(), "Collapse &All");

    tree->cmdExpand->click();
    EXPECT_EQ(tree->cmdExpand->text(), "Expand &All");
    EXPECT_EQ(Expanded(*tree->TreeView), QStringList{"Hub"});
}

TEST_F(TreeViewTest, AClickOnANodeLineSelectsItOnTheCanvas)
{
    frmTreeView* tree = OpenTree("hub-site.qvs");
    ASSERT_NE(tree, nullptr);
    ClickLine(*tree, "RCC2");
    EXPECT_EQ(ActiveNode, 2);
    EXPECT_EQ(Border(2), 0x0000FFu);
    ClickLine(*tree, "Device1-5"); // a device line leaves the selection
    EXPECT_EQ(ActiveNode, 2);
    ClickLine(*tree, "Hub");
    EXPECT_EQ(ActiveNode, 0);
    EXPECT_EQ(Border(0), 0x0000FFu);
    EXPECT_NE(Border(2), 0x0000FFu);
    tree->OptLoop->click();
    ClickLine(*tree, "DevRCC1-2"); // "RCC: 1"
    EXPECT_EQ(ActiveNode, 1);

    // Nothing while serial work keeps the main window disabled, nor for an
    // RCC deleted since.
    form->setEnabled(false);
    ClickLine(*tree, "RCC2");
    form->setEnabled(true);
    model::Nodes[2].SetInUse(false);
    ClickLine(*tree, "RCC2");
    EXPECT_EQ(ActiveNode, 1);
}

TEST_F(TreeViewTest, FollowsTheSiteAndKeepsWhatTheUserOpened)
{
    frmTreeView* tree = OpenTree("hub-site.qvs");
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(tree->SiteWatch->isActive());
    tree->cmdExpand->click();
    tree->TreeView->Line("Device1-2")->setExpanded(false);
    tree->TreeView->setCurrentItem(tree->TreeView->Line("Device2-4"));
    const int scrolled = tree->TreeView->verticalScrollBar()->value();
    EXPECT_GT(scrolled, 0);
    model::Nodes[2].SetDeviceType(9, 6);
    model::Nodes[1].SetName("North wing A");
    tree->SiteWatch_Timer();
    EXPECT_EQ(Shown(*tree->TreeView), SiteLines(TreeViewBy::Rcc, true));
    EXPECT_EQ(tree->TreeView->Line("Device2-9")->text(0), "Sounder");
    EXPECT_FALSE(tree->TreeView->Line("Device1-2")->isExpanded());
    EXPECT_EQ(Expanded(*tree->TreeView).size(), 1 + 2 + 8 - 1);
    EXPECT_EQ(tree->TreeView->currentItem(), tree->TreeView->Line("Device2-4"));
    EXPECT_EQ(tree->TreeView->verticalScrollBar()->value(), scrolled);
}

TEST_F(TreeViewTest, OpensOnItsStoredPlaceAndKeepsItWhenClosed)
{
    TreeViewWindowLeft = 600;
    TreeViewWindowTop = 450;
    TreeViewWindowWidth = 9000;
    TreeViewWindowHeight = 7500;
    frmTreeView* tree = OpenTree("hub-site.qvs");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->frameGeometry(), QRect(40, 30, 600, 500)); // the frame included
    EXPECT_EQ(tree->minimumSize(), QSize(400, 400));
    tree->move(90, 60);
    tree->cmdClose->click();
    EXPECT_EQ(frmTreeView::Loaded(), nullptr);
    EXPECT_EQ(TreeViewWindowLeft, 1350);
    EXPECT_EQ(TreeViewWindowTop, 900);

    // Beyond the desktop's right edge: moved back to end 300 twips inside it.
    TreeViewWindowLeft = 100000;
    tree = OpenTree("hub-site.qvs");
    const int desk = QGuiApplication::primaryScreen()->virtualGeometry().width();
    EXPECT_EQ(tree->frameGeometry().right() + 1, desk - 20);
}
