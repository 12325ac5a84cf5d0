#pragma once
// The window system's keyboard focus and stacking, where the toolkit's own
// account of the active window can fall behind it, or has none (X11;
// elsewhere these do nothing).
#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <functional>

namespace platform {

// The program's shown top-level window that the window system gives the
// keys to, or nullptr (another program's window, none, or not on X11).
QWidget* WindowWithTheKeys();

// Takes the keys off the window and gives them back at once, so that the
// toolkit hears the window get them and makes it the active window.
void GiveTheKeysAgain(const QWidget& window);

// True when the window manager stacks upper above lower.
bool StackedAbove(const QWidget& upper, const QWidget& lower);

// While it lives, calls restacked each time the window manager changes the
// order in which it stacks the desktop's windows: the toolkit tells the
// program nothing of it, not even when the window manager raises a window
// that a modal window of the toolkit keeps waiting.
class StackingWatch : public QAbstractNativeEventFilter
{
public:
    explicit StackingWatch(std::function<void()> restacked);
    ~StackingWatch() override;
    StackingWatch(const StackingWatch&) = delete;
    StackingWatch& operator=(const StackingWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> restacked_;
};

} // namespace platform
