#include "platform/KeyboardFocus.h"

#include <QApplication>
#include <QGuiApplication>

namespace platform {

StackingWatch::~StackingWatch()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

} // namespace platform

// The window system is asked itself only where the toolkit runs on X11 and
// the build found the X client library (QVS_X11_FOCUS); elsewhere the
// toolkit's own account of the active window stands.
#if QT_CONFIG(xcb) && defined(QVS_X11_FOCUS)
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

namespace platform {
namespace {

xcb_connection_t* Connection()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_window_t Root(xcb_connection_t* c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// The X atom of a name (XCB_ATOM_NONE when it cannot tell).
xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (reply == nullptr)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

xcb_atom_t StackingAtom(xcb_connection_t* c)
{
    static const xcb_atom_t stacking = Atom(c, "_NET_CLIENT_LIST_STACKING");
    return stacking;
}

// The windows the window manager manages, bottom first.
std::vector<xcb_window_t> Stacking(xcb_connection_t* c)
{
    std::vector<xcb_window_t> order;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, Root(c), StackingAtom(c), XCB_ATOM_WINDOW, 0, 4096), nullptr);
    if (reply == nullptr)
        return order;
    if (reply->format == 32) {
        const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        order.assign(ids, ids + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return order;
}

} // namespace

StackingWatch::StackingWatch(std::function<void()> restacked) : restacked_(std::move(restacked))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
    // The window manager keeps the order in a property of the root window:
    // its changes are heard along with whatever else the toolkit hears there.
    xcb_connection_t* c = Connection();
    if (c == nullptr)
        return;
    xcb_get_window_attributes_reply_t* heard =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, Root(c)), nullptr);
    if (heard == nullptr)
        return;
    const uint32_t mask = heard->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
    std::free(heard);
    xcb_change_window_attributes(c, Root(c), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
}

bool StackingWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* changed = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    xcb_connection_t* c = Connection();
    if (c != nullptr && changed->window == Root(c) && changed->atom == StackingAtom(c))
        restacked_();
    return false;
}

bool StackedAbove(const QWidget& upper, const QWidget& lower)
{
    xcb_connection_t* c = Connection();
    if (c == nullptr)
        return false;
    const std::vector<xcb_window_t> order = Stacking(c);
    const auto at = [&order](const QWidget& w) {
        return std::find(order.begin(), order.end(), static_cast<xcb_window_t>(w.internalWinId()));
    };
    return at(upper) != order.end() && at(lower) != order.end() && at(upper) > at(lower);
}

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

bool StackedAbove(const QWidget&, const QWidget&)
{
    return false;
}

StackingWatch::StackingWatch(std::function<void()> restacked) : restacked_(std::move(restacked)) {}

bool StackingWatch::nativeEventFilter(const QByteArray&, void*, qintptr*)
{
    return false;
}

} // namespace platform

#endif
