#pragma once
// The error list window: the shared message list under the heading of the
// current ErrorCheckMode, with Refresh (which re-runs the configuration check
// in mode 0), Print and Close. Non-modal and resizable; it keeps its
// rectangle in the ErrorCheckWindow* settings.
#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;

// True while the window is loaded.
extern bool ErrorCheckOpen;

class frmErrorCheck : public QWidget
{
    Q_OBJECT
public:
    // The loaded window, or nullptr.
    static frmErrorCheck* Loaded();

    // Loads the window when it is not loaded (it fills itself from the list
    // as it stands), shows it and brings it forward. A window already loaded
    // keeps its text. The window is not disabled with its owner but is
    // deleted with it.
    static frmErrorCheck* Display(QWidget* owner);
    ~frmErrorCheck() override;

    // Fills the box again; in mode 0 the configuration check runs first.
    void cmdRefresh_Click();
    // Prints the selection, or all of the list, on the printer the dialog
    // gives; a cancel or a failure ends it silently.
    void cmdPrint_Click();
    void cmdClose_Click();

    QTextEdit* RTB1 = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdPrint = nullptr;
    QLabel* WarningLabel = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The frame, whose size the placing takes in, is known once the window
    // has been moved into it.
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The warning label is placed again when it is shown.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmErrorCheck(QWidget* owner);
    void Fill();
    void PlaceControls();
};
