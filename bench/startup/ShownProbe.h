#pragma once
// The start-up programs of the bench: an application object that, once the
// watched window is exposed (shown and drawn), writes one line to standard
// output and ends the process at once:
//   shown <monotonic ms> <peak resident kB> <fixed wait ms>
// The fixed wait is time the program spends idle on purpose (a splash).
#include <QApplication>
#include <functional>

class ShownProbe : public QApplication
{
public:
    ShownProbe(int& argc, char** argv) : QApplication(argc, argv) {}

    // Asked at every exposure: the window may not exist yet.
    void Watch(std::function<QWidget*()> window, double fixedWaitMs)
    {
        window_ = std::move(window);
        fixedWaitMs_ = fixedWaitMs;
    }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<QWidget*()> window_;
    double fixedWaitMs_ = 0;
};
