#pragma once
// The splash window shown while the main window loads hidden. Its timer
// fills the progress bar and then shows either the main window or the start
// page.
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

class frmSplash : public QWidget
{
    Q_OBJECT
public:
    frmSplash();

    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QTimer* Timer1 = nullptr; // started by Main as its last step

    static constexpr int kTimerIntervalMs = 10;
    static constexpr int kProgressMaximum = 150;

    // One tick: the bar moves on by one; at its maximum the next window is
    // shown and the splash unloads.
    void Timer1_Timer();
};
