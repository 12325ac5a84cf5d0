#pragma once
// The chart of one level per radio channel: 32 rows, one per channel index,
// drawn as bars (chart type 1) or as a line (chart type 3); the axes read
// "Channel" and "Signal Level" and the series "Channels". A double-click asks
// for the other chart type, hovering over a row names the row.
#include <QChartView>
#include <QList>
#include <QString>
#include <QStringList>

class QBarSeries;
class QBarSet;
class QBarCategoryAxis;
class QLineSeries;
class QValueAxis;

class ChannelChart : public QChartView
{
    Q_OBJECT
public:
    static constexpr int kBar = 1;
    static constexpr int kLine = 3;

    explicit ChannelChart(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    // The row labels (row numbers "1".."32" unless set) and the levels.
    void SetRows(const QStringList& labels);
    void SetLevels(const QList<int>& levels);
    QList<int> Levels() const { return levels_; }

    int ChartType() const { return type_; }
    void SetChartType(int type);
    void SetSeriesColour(const QColor& colour);
    void SetMinorDivisions(int count);

signals:
    // The user double-clicked the chart.
    void ToggleChartType();
    // The pointer is over the point of this row (0-based).
    void ShowPointValue(int row);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QBarSeries* bars_;
    QBarSet* set_;
    QLineSeries* line_;
    QBarCategoryAxis* rows_;
    QValueAxis* values_;
    QList<int> levels_;
    int type_ = kBar;
};
