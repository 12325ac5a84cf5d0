// The site views' figures on the full site, each against a plain Qt control
// holding the same lines: the configuration grid built with every device row
// and saved as CSV and text, the tree view and the usage statistics built
// and expanded.
#include "WindowBench.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/FileDialogs.h"
#include "views/FrmStats.h"
#include "views/OutlineTree.h"
#include "views/core/ConfigGridRows.h"
#include "views/frmGrid.h"
#include "views/frmTreeView.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>
#include <map>
#include <stdexcept>

namespace {

constexpr int kRuns = 11;
constexpr double kAimMs = 100;

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// A table widget of the grid's size with the same cells, shown and painted.
void PlainTable(const views::TableCells& cells)
{
    QTableWidget table(static_cast<int>(cells.size()) - 1, views::kGridColumnCount);
    table.resize(700, 400);
    for (int c = 0; c < views::kGridColumnCount; ++c)
        table.setHorizontalHeaderItem(c, new QTableWidgetItem(Q(cells[0][static_cast<std::size_t>(c)])));
    for (std::size_t r = 1; r < cells.size(); ++r)
        for (std::size_t c = 0; c < cells[r].size(); ++c)
            table.setItem(static_cast<int>(r - 1), static_cast<int>(c), new QTableWidgetItem(Q(cells[r][c])));
    table.resizeColumnsToContents();
    ShowAndPaint(table);
}

// A tree widget with the same lines under the same parents, shown; then,
// with expand, every line expanded and painted again.
void PlainTree(const std::vector<views::TreeLine>& lines, bool expand)
{
    QTreeWidget tree;
    tree.resize(640, 440);
    std::map<std::string, QTreeWidgetItem*> byKey;
    for (const views::TreeLine& line : lines) {
        const auto parent = byKey.find(line.parentKey);
        auto* item = parent == byKey.end() ? new QTreeWidgetItem(&tree) : new QTreeWidgetItem(parent->second);
        item->setText(0, Q(line.text));
        if (!line.key.empty())
            byKey[line.key] = item;
    }
    ShowAndPaint(tree);
    if (expand) {
        tree.expandAll();
        tree.repaint();
    }
}

Figure GridFigure(AnsweredBoxes& boxes)
{
    ScratchFolder folder("grid");
    const std::string csv = folder.File("grid.csv");
    const std::string text = folder.File("grid.txt");
    std::string answer;
    platform::SetFileDialogAnswerer([&](const platform::FileDialogRequest&) { return Q(answer); });
    // As the user does: open the grid, Expand All, save both forms.
    const double gridMs = MedianMs(
        kRuns, [] {},
        [&] {
            frmGrid* grid = frmGrid::Load();
            ShowAndPaint(*grid);
            grid->cmdExpand_Click();
            grid->repaint();
            for (const std::string& path : {csv, text}) {
                answer = path;
                grid->cmdSave_Click();
            }
        },
        [&] {
            frmGrid::Unload();
            DeleteClosedWindows();
            boxes.Expect({"File Saved Successfully", "File Saved Successfully"});
        });
    platform::SetFileDialogAnswerer({});

    views::ConfigGridRows rows(model::Nodes);
    rows.ExpandAll();
    const views::TableCells cells = rows.ExportCells();
    const std::string csvBytes = ReadBytes(csv);
    const std::string textBytes = ReadBytes(text);
    if (cells.size() != 1 + 32 + 31 * 31 || csvBytes.empty() || textBytes.empty())
        throw std::runtime_error("the grid did not hold and save the full site");
    const double plainMs = MedianMs(kRuns, [&] {
        PlainTable(cells);
        WriteBytes(csv, csvBytes);
        WriteBytes(text, textBytes);
    });
    return TimeFigure("configuration grid of " + std::to_string(cells.size() - 1) +
                          " rows opened, expanded, saved as CSV and text",
                      gridMs, "a plain QTableWidget of the same cells and the same bytes written", plainMs, kAimMs);
}

// A site view opened on the full site, then its Expand All; each against a
// plain tree of the same lines. Opening is timed without closing.
template <class View> std::vector<Figure> OutlineFigures(const std::string& name, AnsweredBoxes& boxes)
{
    std::vector<views::TreeLine> lines;
    View* view = nullptr;
    const auto open = [&] {
        view = View::Load();
        ShowAndPaint(*view);
    };
    const auto close = [&] {
        View::Unload();
        DeleteClosedWindows();
        boxes.Expect();
    };
    const double openMs = MedianMs(kRuns, [] {}, open, close);
    const double expandMs = MedianMs(
        3, open,
        [&] {
            view->cmdExpand_Click();
            view->repaint();
            lines = view->TreeView->Lines();
        },
        close);
    if (lines.size() < 2)
        throw std::runtime_error(name + " showed no lines");
    const double plainMs = MedianMs(kRuns, [&] { PlainTree(lines, false); });
    const double plainExpandMs = MedianMs(kRuns, [&] { PlainTree(lines, true); }) - plainMs;
    const std::string what = name + " of the full site (" + std::to_string(lines.size()) + " lines)";
    return {TimeFigure(what + " opened", openMs, "a plain QTreeWidget of the same lines", plainMs, kAimMs),
            TimeFigure(what + " Expand All", expandMs, "expandAll() of the plain tree", std::max(plainExpandMs, 0.001),
                       kAimMs)};
}

} // namespace

std::vector<Figure> ViewFigures()
{
    OpenFullSite();
    AnsweredBoxes boxes;
    std::vector<Figure> figures{GridFigure(boxes)};
    for (const Figure& f : OutlineFigures<frmTreeView>("tree view by RCC with details", boxes))
        figures.push_back(f);
    StatsViewBy = 2;
    StatsUsedFree = true;
    for (const Figure& f : OutlineFigures<FrmStats>("usage statistics by node", boxes))
        figures.push_back(f);
    return figures;
}
