#pragma once
// STAND-IN for the communications window. The main window loads it to run
// serial work, reads whether its port opened and runs one of its three
// public actions; it brings it to the front while it is loaded. The real
// window with its serial engine, programming, compare and read replaces this
// class. The stand-in reaches no unit: its port opens only when a test says
// so, and each action only records that it ran.
#include "platform/FormInstance.h"

#include <QStringList>
#include <QWidget>
#include <functional>

// True from the load to the unload of the communications window; the main
// window ignores canvas presses, releases and toolbar clicks meanwhile.
extern bool CommsFormActive;

class frmComms : public QWidget, public platform::FormInstance<frmComms>
{
    Q_OBJECT
public:
    frmComms();

    // The open state of the window's serial control.
    bool PortOpen() const { return portOpen_; }

    // The launcher's actions 1, 2 and 3.
    void cmdProgram_Click();
    void CompareConfig_Click();
    void ReadConfig_Click();

    // Stand-in only: whether the port opens when the window loads, the
    // actions run since the last ResetStandIn by name, and what else an
    // action does (a test can make a read close the window, as a read the
    // user cancels does).
    static bool StandInPortOpens;
    static QStringList StandInCalls;
    static std::function<void(frmComms& window, const QString& action)> StandInOnAction;
    static void ResetStandIn();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Record(const QString& name);
    bool portOpen_ = false;
};
