#pragma once
// What the programming run, Compare Config and Clear Programming need of the
// communications window besides its link: on top of the message box, the
// port reset and the Program button (IAssignmentWindow), the parse of a
// download, the error-list window, the log box, the progress bar, the
// window's own flags and its close.
#include "hublink/core/IAssignmentWindow.h"

#include <cstdint>
#include <string>

namespace hublink {

class IProgrammingWindow : public IAssignmentWindow
{
public:
    // Parses the collected download (ReplyLines 1..ReplyLineCount) into
    // HubNodes for ActiveNode; the parse empties MessageList and leaves one
    // line per fault in it. Programming true while a hub is being programmed
    // (the error list shows the parser's findings). Returns the number of
    // fault lines.
    virtual int16_t ParseDownload(bool programming) = 0;

    // ErrorCheckMode, which heading the error-list window shows.
    virtual void SetErrorCheckMode(long mode) = 0;
    // Shows the error-list window with MessageList (not modal), or refreshes
    // it when it is open already.
    virtual void ShowErrorList() = 0;
    virtual void CloseErrorList() = 0;

    virtual void ClearLogBox() = 0;
    virtual void SetCancelCaption(const std::string& caption) = 0;
    // The progress bar: made visible (its value stays) and its maximum.
    virtual void ShowProgress() = 0;
    virtual void SetProgressMaximum(int maximum) = 0;
    // The progress dots of the log box while a delete waits.
    virtual void SetDeleteDots(bool running) = 0;
    // Brings the window back from the task bar when it is minimised.
    virtual void RestoreWindow() = 0;
    // The main window selects the hub (frmMain.ActivateNode 0).
    virtual void SelectHub() = 0;

    // The unit acknowledged the debug-off request (the window's
    // DebugOutputStopped), and its new value after another try.
    virtual bool DebugOutputStopped() const = 0;
    virtual void SetDebugOutputStopped(bool stopped) = 0;
    // The window's UnitConnected: POPULATE commands carry their last field.
    virtual bool UnitConnected() const = 0;
    // The window was opened only to be used by hand (CommsAction 4).
    virtual bool OpenedOnly() const = 0;
    // Closes (unloads) the communications window; the run calls it last.
    virtual void CloseWindow() = 0;
};

} // namespace hublink
