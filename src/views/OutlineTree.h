#pragma once
// The tree control of the site views: lines added under their parent's key,
// each with its picture from the site views' image list, found again by key.
#include "views/core/TreeLine.h"

#include <QHash>
#include <QIcon>
#include <QStringList>
#include <QTreeWidget>
#include <map>
#include <vector>

namespace views {

class OutlineTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit OutlineTree(QWidget* parent = nullptr);

    // Clears the tree and adds the lines in order, every line collapsed. A
    // line whose key is taken or whose parent is missing is left out.
    void Fill(std::vector<TreeLine> lines);
    // The lines as they were last filled in.
    const std::vector<TreeLine>& Lines() const { return lines_; }

    // The line of a key, or nullptr.
    QTreeWidgetItem* Line(const QString& key) const;
    static QString Key(const QTreeWidgetItem* line);
    // The image key a line shows ("" for none).
    static QString ImageKey(const QTreeWidgetItem* line);
    // Every line, parents before their children.
    std::vector<QTreeWidgetItem*> AllLines() const;
    int LineCount() const { return static_cast<int>(byKey_.size()) + unkeyed_; }

    void SetAllExpanded(bool expanded);
    // Expands the line of key when the tree holds it.
    void ExpandKey(const QString& key);

    // Fills the tree again when the lines differ from those shown; the lines
    // that stay keep their expanded state, the selection and the scrolling
    // stay too.
    void Follow(std::vector<TreeLine> lines);

private:
    QIcon Image(const std::string& key);

    std::vector<TreeLine> lines_;
    QHash<QString, QTreeWidgetItem*> byKey_;
    int unkeyed_ = 0;
    std::map<std::string, QIcon> images_;
};

} // namespace views
