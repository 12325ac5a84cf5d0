#pragma once
// What the link needs of the window that owns it: the status box, the busy
// state of its controls, its progress bar and its message boxes.
#include <cstdint>
#include <string>

namespace hublink {

class ICommsWindow
{
public:
    virtual ~ICommsWindow() = default;
    // Adds the text and a line end at the end of the status box and scrolls
    // to it.
    virtual void AppendToLogBox(const std::string& text) = 0;
    // Disables (true) or enables the window, its menus and its buttons.
    virtual void SetControlsBusy(bool busy) = 0;
    virtual int ProgressValue() const = 0;
    virtual int ProgressMax() const = 0;
    virtual void SetProgressValue(int value) = 0;
    virtual void HideProgress() = 0;
    // The program's own message box with the window as owner and its caption
    // as title; returns the button code. It yields until closed.
    virtual int32_t ShowMessage(const std::string& text, int32_t style) = 0;
    // The platform's plain message box, critical icon, title
    // "Communications Error".
    virtual void ShowCommsError(const std::string& text) = 0;
    // The progress dots of a long delete are running.
    virtual bool DeleteTimerRunning() const = 0;
};

} // namespace hublink
