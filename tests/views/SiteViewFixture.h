#pragma once
// The main window with a fixture site of tests/data open, for the view
// windows it shows.
#include "app/frmMainFixture.h"
#include "views/FrmStats.h"
#include "views/OutlineTree.h"
#include "views/frmTreeView.h"


class SiteViewTest : public MainWindowTest
{
protected:
    void TearDown() override
    {
        frmTreeView::Unload();
        FrmStats::Unload();
        MainWindowTest::TearDown();
    }

    // Opens the site in the main window, then the view with its command.
    template <class View> View* OpenView(const QString& site, void (frmMain::*command)())
    {
        if (form == nullptr)
            Load();
        form->OpenFileFromMessage(QVS_TEST_DATA "/" + site.toStdString());
        ((*form).*command)();
        EXPECT_NE(View::Loaded(), nullptr);
        return View::Loaded();
    }

    // The window's lines as the line builders write them; a line shown
    // without a picture has no image key.
    static std::vector<views::TreeLine> Shown(const views::OutlineTree& tree)
    {
        std::vector<views::TreeLine> out;
        for (QTreeWidgetItem* line : tree.AllLines()) {
            const QString image = line->icon(0).isNull() ? "" : views::OutlineTree::ImageKey(line);
            out.push_back({views::OutlineTree::Key(line).toStdString(),
                           views::OutlineTree::Key(line->parent()).toStdString(), line->text(0).toStdString(),
                           image.toStdString()});
        }
        return out;
    }

    // The keys of the open lines that have child lines.
    static QStringList Expanded(const views::OutlineTree& tree)
    {
        QStringList keys;
        for (QTreeWidgetItem* line : tree.AllLines()) {
            if (line->childCount() > 0 && line->isExpanded())
                keys << views::OutlineTree::Key(line);
        }
        return keys;
    }
};
