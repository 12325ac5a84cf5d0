// The program's own start-up, step for step as its main does, watching for
// the main window; the splash's progress run is its fixed wait.
#include "ShownProbe.h"
#include "app/Startup.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"

int main(int argc, char** argv)
{
    ShownProbe app(argc, argv);
    // The last tick of the progress bar shows the main window.
    app.Watch([] { return static_cast<QWidget*>(MainForm()); },
              (frmSplash::kProgressMaximum + 1) * frmSplash::kTimerIntervalMs);
    SetCommandLine(CommandLineFromArguments(std::vector<std::string>(argv + 1, argv + argc)));
    if (!Main())
        return 1;
    return QApplication::exec();
}
