#include "diagnostics/frmGraph.h"

#include "diagnostics/ChannelChart.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kRows = 32;

} // namespace

frmGraph::frmGraph() : MSChart1(new ChannelChart(this)), cmdClose(new QPushButton("Close", this))
{
    setObjectName("frmGraph");
    setWindowTitle("Graph");
    resize(640, 420);
    auto* keys = new QHBoxLayout;
    keys->addStretch(1);
    keys->addWidget(cmdClose);
    auto* form = new QVBoxLayout(this);
    form->addWidget(MSChart1, 1);
    form->addLayout(keys);
    connect(cmdClose, &QPushButton::clicked, this, &frmGraph::cmdClose_Click);
    Form_Load();
}

void frmGraph::Form_Load()
{
    Table.clear();
    QStringList labels;
    QList<int> levels;
    for (int row = 1; row <= kRows; ++row) {
        const int level = static_cast<int>(std::floor(QRandomGenerator::global()->generateDouble() * 100));
        Table.append({"Ch" + QString::number(row), level});
        labels << Table.back().first;
        levels << level;
    }
    MSChart1->SetRows(labels);
    MSChart1->SetLevels(levels);
}

void frmGraph::cmdClose_Click()
{
    Unload();
}
