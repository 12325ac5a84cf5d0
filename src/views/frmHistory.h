#pragma once
// The program's version history, read from History.qvh in the program's
// folder. Lines starting with "/" are internal notes: hidden normally, shown
// (the "/" as a blank) after a Ctrl+click on the window. A missing file is
// said in the text box. The window keeps its rectangle in the
// HistoryWindow* settings.
#include "platform/FormInstance.h"

#include <QWidget>

class QPushButton;
class QTextEdit;

class frmHistory : public QWidget, public platform::FormInstance<frmHistory>
{
    Q_OBJECT
public:
    frmHistory();

    // Shows the file: without the notes, or with full set every line.
    void ShowHistory(bool full);
    void EndHistory_Click();

    QTextEdit* HistoryText = nullptr;
    QPushButton* EndHistory = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowMissingFile(const QString& path);
    void PlaceControls();
};
