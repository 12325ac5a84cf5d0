#pragma once
// The test chart window: a chart of 32 rows of random levels and a Close
// button. Nothing in the program opens it.
#include "platform/FormInstance.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>

class ChannelChart;
class QPushButton;

class frmGraph : public QWidget, public platform::FormInstance<frmGraph>
{
    Q_OBJECT
public:
    frmGraph();

    void Form_Load();
    void cmdClose_Click();

    // The chart's data: per row its label and a whole number 0..99.
    QList<QPair<QString, int>> Table;

    ChannelChart* MSChart1;
    QPushButton* cmdClose;
};
