#include "views/OutlineTree.h"

#include "views/SiteViewImages.h"

#include <QHeaderView>
#include <QScrollBar>

namespace views {
namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

OutlineTree::OutlineTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(24, 24));
    setUniformRowHeights(true);
    setAnimated(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(9.75);
    setFont(font);
}

QIcon OutlineTree::Image(const std::string& key)
{
    auto it = images_.find(key);
    if (it == images_.end())
        it = images_.emplace(key, QIcon(SiteViewImage(Q(key)))).first;
    return it->second;
}

void OutlineTree::Fill(std::vector<TreeLine> lines)
{
    setUpdatesEnabled(false);
    clear();
    byKey_.clear();
    unkeyed_ = 0;
    lines_ = std::move(lines);
    // The lines are put together outside the tree and handed to it at once:
    // a site of 31 full RCCs with details has some 5000 of them.
    QList<QTreeWidgetItem*> top;
    for (const TreeLine& line : lines_) {
        const QString key = Q(line.key);
        if (!key.isEmpty() && byKey_.contains(key))
            continue;
        QTreeWidgetItem* parentLine = nullptr;
        if (!line.parentKey.empty()) {
            parentLine = Line(Q(line.parentKey));
            if (parentLine == nullptr)
                continue;
        }
        auto* item = new QTreeWidgetItem(QStringList{Q(line.text)});
        item->setData(0, kKeyRole, key);
        item->setData(0, kImageRole, Q(line.image));
        if (!line.image.empty())
            item->setIcon(0, Image(line.image));
        if (parentLine != nullptr)
            parentLine->addChild(item);
        else
            top << item;
        if (key.isEmpty())
            ++unkeyed_;
        else
            byKey_[key] = item;
    }
    addTopLevelItems(top);
    setUpdatesEnabled(true);
}

QTreeWidgetItem* OutlineTree::Line(const QString& key) const
{
    return byKey_.value(key, nullptr);
}

QString OutlineTree::Key(const QTreeWidgetItem* line)
{
    return line == nullptr ? QString() : line->data(0, kKeyRole).toString();
}

QString OutlineTree::ImageKey(const QTreeWidgetItem* line)
{
    return line == nullptr ? QString() : line->data(0, kImageRole).toString();
}

std::vector<QTreeWidgetItem*> OutlineTree::AllLines() const
{
    std::vector<QTreeWidgetItem*> all;
    for (QTreeWidgetItemIterator it(const_cast<OutlineTree*>(this)); *it != nullptr; ++it)
        all.push_back(*it);
    return all;
}

void OutlineTree::SetAllExpanded(bool expanded)
{
    setUpdatesEnabled(false);
    for (QTreeWidgetItem* line : AllLines())
        line->setExpanded(expanded);
    setUpdatesEnabled(true);
}

void OutlineTree::ExpandKey(const QString& key)
{
    if (QTreeWidgetItem* line = Line(key))
        line->setExpanded(true);
}

void OutlineTree::Follow(std::vector<TreeLine> lines)
{
    if (lines == lines_)
        return;
    QStringList expanded;
    for (auto it = byKey_.cbegin(); it != byKey_.cend(); ++it) {
        if (it.value()->isExpanded())
            expanded << it.key();
    }
    const QString selected = Key(currentItem());
    const int scroll = verticalScrollBar()->value();
    Fill(std::move(lines));
    for (const QString& key : expanded)
        ExpandKey(key);
    if (QTreeWidgetItem* line = Line(selected))
        setCurrentItem(line);
    verticalScrollBar()->setValue(scroll);
}

} // namespace views
