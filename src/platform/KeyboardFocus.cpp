#include "platform/KeyboardFocus.h"

#include <QApplication>
#include <QGuiApplication>

// The window system is asked itself only where the toolkit runs on X11 and
// the build found the X client library (QVS_X11_FOCUS); elsewhere the
// toolkit's own account of the active window stands.
#if QT_CONFIG(xcb) && defined(QVS_X11_FOCUS)
#include <cstdlib>
#include <xcb/xcb.h>

namespace platform {
namespace {

xcb_connection_t* Connection()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

} // namespace

QWidget* WindowWithTheKeys()
{
    xcb_connection_t* c = Connection();
    if (c == nullptr)
        return nullptr;
    xcb_get_input_focus_reply_t* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    if (reply == nullptr)
        return nullptr;
    const xcb_window_t focus = reply->focus;
    std::free(reply);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->internalWinId() != 0 && static_cast<xcb_window_t>(top->internalWinId()) == focus)
            return top;
    return nullptr;
}

void GiveTheKeysAgain(const QWidget& window)
{
    xcb_connection_t* c = Connection();
    if (c == nullptr || window.internalWinId() == 0)
        return;
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_NONE, XCB_CURRENT_TIME);
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, static_cast<xcb_window_t>(window.internalWinId()),
                        XCB_CURRENT_TIME);
    xcb_flush(c);
}

} // namespace platform

#else

namespace platform {

QWidget* WindowWithTheKeys()
{
    return nullptr;
}

void GiveTheKeysAgain(const QWidget&) {}

} // namespace platform

#endif
