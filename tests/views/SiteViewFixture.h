#pragma once
// The main window with a fixture site of tests/data open, for the view
// windows it shows.
#include "app/frmMainFixture.h"
#include "views/FrmStats.h"
#include "views/OutlineTree.h"
#include "views/frmTreeView.h"

#include <ctime>
#include <iostream>

class SiteViewTest : public MainWindowTest
{
protected:
    void TearDown() override
    {
        frmTreeView::Unload();
        FrmStats::Unload();
        MainWindowTest::TearDown();
    }

    void Open(const QString& site)
    {
        Load();
        form->OpenFileFromMessage(QString(QVS_TEST_DATA) + "/" + site);
        QApplication::processEvents();
    }

    // Every line of the window's tree as the line builders write it, with
    // the parent's key as the tree holds it; a line without a picture
    // reads as a line without image key.
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

    // The keys of the lines with child lines: all of them, or the open ones.
    static QStringList Parents(const views::OutlineTree& tree, bool openOnly = false)
    {
        QStringList keys;
        for (QTreeWidgetItem* line : tree.AllLines()) {
            if (line->childCount() > 0 && (!openOnly || line->isExpanded()))
                keys << views::OutlineTree::Key(line);
        }
        return keys;
    }
    static QStringList Expanded(const views::OutlineTree& tree) { return Parents(tree, true); }

    // What a site view may take to build a full site: 100 ms, and four
    // times that in a build with the address sanitizer, which slows every
    // allocation and string copy down.
#ifdef __SANITIZE_ADDRESS__
    static constexpr long kBuildBudgetMs = 400;
#else
    static constexpr long kBuildBudgetMs = 100;
#endif

    // Milliseconds of processor time an action takes (other programs
    // running at the same time do not count).
    template <class Action> static long Timed(Action action)
    {
        const std::clock_t start = std::clock();
        action();
        return static_cast<long>((std::clock() - start) * 1000 / CLOCKS_PER_SEC);
    }
};
