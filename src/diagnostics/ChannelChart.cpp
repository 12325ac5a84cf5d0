#include "diagnostics/ChannelChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr int kRows = 32;
constexpr int kLeastTop = 10;

} // namespace

ChannelChart::ChannelChart(QWidget* parent)
    : QChartView(new QChart, parent), bars_(new QBarSeries), set_(new QBarSet("Channels")),
      line_(new QLineSeries), rows_(new QBarCategoryAxis), values_(new QValueAxis)
{
    setRenderHint(QPainter::Antialiasing);
    QChart* c = chart();
    c->setMargins(QMargins(4, 4, 4, 4));
    bars_->append(set_);
    line_->setName("Channels");
    c->addSeries(bars_);
    c->addSeries(line_);
    rows_->setTitleText("Channel");
    QFont small = rows_->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    rows_->setLabelsFont(small);
    rows_->setTruncateLabels(false);
    values_->setTitleText("Signal Level");
    values_->setLabelFormat("%d");
    c->addAxis(rows_, Qt::AlignBottom);
    c->addAxis(values_, Qt::AlignLeft);
    for (QAbstractSeries* series : {static_cast<QAbstractSeries*>(bars_), static_cast<QAbstractSeries*>(line_)}) {
        series->attachAxis(rows_);
        series->attachAxis(values_);
    }
    c->legend()->setAlignment(Qt::AlignBottom);
    c->legend()->markers(line_).first()->setVisible(false);
    QStringList labels;
    for (int row = 1; row <= kRows; ++row)
        labels << QString::number(row);
    SetRows(labels);
    SetLevels(QList<int>(kRows, 0));
    SetChartType(kBar);
    connect(bars_, &QBarSeries::hovered, this, [this](bool over, int row, QBarSet*) {
        if (over)
            emit ShowPointValue(row);
    });
    connect(line_, &QLineSeries::hovered, this, [this](const QPointF& point, bool over) {
        if (over)
            emit ShowPointValue(std::clamp(qRound(point.x()), 0, kRows - 1));
    });
}

void ChannelChart::SetTitle(const QString& title)
{
    chart()->setTitle(title);
}

void ChannelChart::SetRows(const QStringList& labels)
{
    rows_->clear();
    rows_->append(labels);
    // Labels longer than a row number stand on end.
    const bool longLabels = std::any_of(labels.begin(), labels.end(), [](const QString& l) { return l.size() > 2; });
    rows_->setLabelsAngle(longLabels ? -90 : 0);
}

void ChannelChart::SetLevels(const QList<int>& levels)
{
    levels_ = levels;
    QList<qreal> bars;
    QList<QPointF> points;
    for (int row = 0; row < levels.size(); ++row) {
        bars << levels[row];
        points << QPointF(row, levels[row]);
    }
    set_->remove(0, set_->count());
    set_->append(bars);
    line_->replace(points);
    // A value axis from 0 in steps of 2, 5, 10, 20 or 50, at most 8 of them.
    const int top = std::max(kLeastTop, levels.isEmpty() ? 0 : *std::max_element(levels.begin(), levels.end()));
    int step = 2;
    for (int next : {5, 10, 20, 50})
        if (top > step * 8)
            step = next;
    values_->setTickType(QValueAxis::TicksDynamic);
    values_->setTickAnchor(0);
    values_->setTickInterval(step);
    values_->setRange(0, (top + step - 1) / step * step);
}

void ChannelChart::SetChartType(int type)
{
    type_ = type == kLine ? kLine : kBar;
    bars_->setVisible(type_ == kBar);
    line_->setVisible(type_ == kLine);
}

void ChannelChart::SetSeriesColour(const QColor& colour)
{
    set_->setColor(colour);
    set_->setBorderColor(colour);
    QPen pen(colour);
    pen.setWidth(2);
    line_->setPen(pen);
}

void ChannelChart::SetMinorDivisions(int count)
{
    values_->setMinorTickCount(count);
}

void ChannelChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit ToggleChartType();
    QChartView::mouseDoubleClickEvent(event);
}
