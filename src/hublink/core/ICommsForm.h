#pragma once
// What the opening sequence and the configuration read need of the
// communications window beyond the link's own services (ICommsWindow): its
// caption, its port and Cancel button, the assignment menu items, and the
// site shown by the main window.
#include <string>

namespace hublink {

class ICommsForm
{
public:
    virtual ~ICommsForm() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetCancelCaption(const std::string& caption) = 0;
    // The window takes input again but only Cancel is usable: menus and the
    // other buttons stay disabled.
    virtual void EnableCancelOnly() = 0;
    virtual void ClosePort() = 0;
    // "Start Assignment Process" and the hidden assignment items.
    virtual void EnableAssignmentItems() = 0;

    virtual void ClearLogBox() = 0;
    // The progress bar shown at 0 of maximum, or shown full.
    virtual void ResetProgress(int maximum) = 0;
    virtual void FillProgress() = 0;
    // The error list shows the message list (not modal).
    virtual void ShowParseErrors() = 0;
    // The main window lays the read site out, redraws it, empties its usage
    // panels and clears the selection.
    virtual void ShowReadSite() = 0;
};

} // namespace hublink
