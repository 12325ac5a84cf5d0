#pragma once
// What the communications window asks of the main window, which lives above
// it. The main window implements it and registers itself while it exists;
// with no host registered the calls are skipped and the save prompt counts
// as answered.

class QWidget;

class CommsHost
{
public:
    virtual ~CommsHost() = default;
    virtual QWidget* Window() = 0;            // centred on, enabled again on unload
    // The save prompt, its boxes and dialogs standing with asker (the
    // serial window doing the read): false when cancelled.
    virtual bool CheckForChanges(QWidget* asker) = 0;
    virtual void DisplayNewSite() = 0;        // the new empty site, its name and title
    virtual void DisplayReadSite() = 0;       // tree layout and redraw of a read site
    virtual void ClearSelection() = 0;        // nothing selected, usage panels empty
    virtual void SetErrorCheckMode(long) = 0; // the heading of the error list
    virtual void ShowErrorList() = 0;         // the message list, not modal, or its refresh
    virtual void CloseErrorList() = 0;        // the message list closed
    virtual void ActivateHub() = 0;           // the hub becomes the selected node
};
