#pragma once
// Drives the program's windows on a real X server with a window manager, as
// a user does: pointer and keys go through the display (xdotool), and the
// tests read what the window manager holds: the active window and the
// stacking order. Every wait is for a condition.
#include "app/frmMainFixture.h"
#include "app/frmParameter.h"
#include "platform/ProgramMessage.h"
#include "platform/WindowLayer.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <vector>
#include <xcb/xcb.h>

namespace desktop {

inline void Xdo(const QStringList& args)
{
    const int rc = QProcess::execute("xdotool", args);
    EXPECT_EQ(rc, 0) << "xdotool " << args.join(' ').toStdString();
}

// Clicks (count 2: double-clicks) the pointer button at a point of w.
inline void Click(const QWidget* w, QPoint at = {-1, -1}, int button = 1, int count = 1)
{
    if (at.x() < 0)
        at = w->rect().center();
    const QPoint p = w->mapToGlobal(at);
    // No --sync: it waits for a motion that never comes when the pointer is
    // there already. The server takes the move before the click all the same.
    Xdo({"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "--repeat",
         QString::number(count), "--delay", "40", QString::number(button)});
}

// Activates w as a task bar does, and waits until the window manager has.
inline void ActivateFromTaskBar(const QWidget* w)
{
    Xdo({"windowactivate", "--sync", QString::number(w->winId())});
}

// Keys to the focused window, e.g. "Return", "ctrl+v".
inline void Keys(const QString& keys)
{
    Xdo({"key", keys});
}

inline xcb_connection_t* Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

// The X atom of a name (XCB_ATOM_NONE without a display).
inline xcb_atom_t Atom(const char* name)
{
    xcb_connection_t* c = Connection();
    if (c == nullptr)
        return XCB_ATOM_NONE;
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    if (reply == nullptr)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    free(reply);
    return atom;
}

// The 32-bit values of a window's property (of any type).
inline std::vector<uint32_t> PropertyValues(xcb_window_t window, const char* property)
{
    xcb_connection_t* c = Connection();
    std::vector<uint32_t> out;
    const xcb_atom_t atom = Atom(property);
    if (c == nullptr || atom == XCB_ATOM_NONE)
        return out;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    if (reply == nullptr)
        return out;
    if (reply->format == 32) {
        const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        out.assign(values, values + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return out;
}

// A text property of a window (of any 8-bit type, e.g. _NET_WM_NAME).
inline std::string PropertyText(xcb_window_t window, const char* property)
{
    xcb_connection_t* c = Connection();
    const xcb_atom_t atom = Atom(property);
    if (c == nullptr || atom == XCB_ATOM_NONE)
        return {};
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    if (reply == nullptr)
        return {};
    std::string text;
    if (reply->format == 8)
        text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    free(reply);
    return text;
}

inline xcb_window_t RootWindow()
{
    xcb_connection_t* c = Connection();
    return c != nullptr ? xcb_setup_roots_iterator(xcb_get_setup(c)).data->root : XCB_NONE;
}

// The window ids of a window property of the root window.
inline std::vector<xcb_window_t> RootWindows(const char* property)
{
    xcb_connection_t* c = Connection();
    if (c == nullptr)
        return {};
    return PropertyValues(RootWindow(), property);
}

// The name the window manager gives itself ("Openbox", "Metacity", "Fluxbox").
inline std::string WindowManagerName()
{
    const auto check = RootWindows("_NET_SUPPORTING_WM_CHECK");
    return check.empty() ? std::string() : PropertyText(check.front(), "_NET_WM_NAME");
}

// The program's top-level window that the display shows at a point of the
// screen, the one a click there reaches (nullptr: none of the program's).
inline QWidget* WindowAt(QPoint global)
{
    xcb_connection_t* c = Connection();
    const xcb_window_t root = RootWindow();
    QWidget* found = nullptr;
    // From the root down through the window manager's frame to the deepest
    // window at the point; the program's window is one of them.
    for (xcb_window_t w = root; w != XCB_NONE && c != nullptr;) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->internalWinId() == w)
                found = top;
        xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
            c,
            xcb_translate_coordinates(c, root, w, static_cast<int16_t>(global.x()),
                                      static_cast<int16_t>(global.y())),
            nullptr);
        w = reply != nullptr ? reply->child : XCB_NONE;
        free(reply);
    }
    return found;
}

// True when the display shows w, no window over it, a few pixels inside each
// of its corners: what is drawn, which the window manager's stacking list
// need not tell (fluxbox lists a window above one it draws over it).
inline bool ShownAtItsCorners(const QWidget* w)
{
    const QRect r = w->rect().adjusted(4, 4, -4, -4);
    for (const QPoint at : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        if (WindowAt(w->mapToGlobal(at)) != w)
            return false;
    return true;
}

// True when the window manager holds the window in the top-most layer.
inline bool AboveOnDesktop(const QWidget* w)
{
    const auto state = PropertyValues(w->winId(), "_NET_WM_STATE");
    return std::find(state.begin(), state.end(), Atom("_NET_WM_STATE_ABOVE")) != state.end();
}

inline bool Managed(const QWidget* w)
{
    const auto managed = RootWindows("_NET_CLIENT_LIST");
    return std::find(managed.begin(), managed.end(), static_cast<xcb_window_t>(w->winId())) != managed.end();
}

// True when w is where a click reaches it: mapped and exposed, and a window
// the window manager frames is also managed by it. Until then the program
// holds it as shown while a click at its place still lands on the window
// below (on a loaded machine the window manager is slow to map).
inline bool OnDesktop(const QWidget* w)
{
    return w != nullptr && w->isVisible() && w->windowHandle() != nullptr && w->windowHandle()->isExposed() &&
           (w->windowType() == Qt::Popup || Managed(w));
}

// The window manager has framed the window (it tells the frame's size).
inline bool Framed(const QWidget* w)
{
    return PropertyValues(w->winId(), "_NET_FRAME_EXTENTS").size() == 4;
}

// Where and how large the display shows the window (its inner part, without
// the frame), in the screen's coordinates; empty when it cannot tell.
inline QRect DisplayedRect(const QWidget* w)
{
    xcb_connection_t* c = Connection();
    if (w == nullptr || c == nullptr)
        return {};
    const auto window = static_cast<xcb_window_t>(w->winId());
    xcb_translate_coordinates_reply_t* reply =
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, RootWindow(), 0, 0), nullptr);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    QRect shown;
    if (reply != nullptr && geometry != nullptr)
        shown = QRect(QPoint(reply->dst_x, reply->dst_y), QSize(geometry->width, geometry->height));
    free(reply);
    free(geometry);
    return shown;
}

// Where and how large the display shows the window with the frame the
// window manager gives it (without a frame yet, the window alone).
inline QRect DisplayedFrame(const QWidget* w)
{
    const QRect shown = DisplayedRect(w);
    const auto extents = PropertyValues(w->winId(), "_NET_FRAME_EXTENTS"); // left, right, top, bottom
    if (extents.size() != 4)
        return shown;
    const auto at = [&extents](std::size_t i) { return static_cast<int>(extents[i]); };
    return shown.marginsAdded(QMargins(at(0), at(2), at(1), at(3)));
}

// Clicks the window's title bar, as a user brings a window to the front.
inline void ClickTitle(const QWidget* w)
{
    const QRect frame = DisplayedFrame(w);
    const int y = (frame.top() + DisplayedRect(w).top()) / 2;
    Xdo({"mousemove", QString::number(frame.center().x()), QString::number(y), "click", "1"});
}

// Clicks the close button of the window's frame, at the right end of its
// title bar where the window managers the tests run under put it.
inline void ClickCloseButton(const QWidget* w)
{
    const QRect frame = DisplayedFrame(w);
    const int title = DisplayedRect(w).top() - frame.top();
    Xdo({"mousemove", QString::number(frame.right() - title / 2), QString::number(frame.top() + title / 2),
         "click", "1"});
}

// Asks the window manager to close the window, as a task bar or a pager
// does (_NET_CLOSE_WINDOW); the window manager hands the program the
// window's close.
inline void CloseFromTaskBar(const QWidget* w)
{
    xcb_connection_t* c = Connection();
    ASSERT_NE(c, nullptr);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(w->winId());
    message.type = Atom("_NET_CLOSE_WINDOW");
    message.data.data32[0] = XCB_CURRENT_TIME;
    message.data.data32[1] = 2; // the request of a pager or a task bar
    xcb_send_event(c, 0, RootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}

// Where and how large the program holds the window to be.
inline QRect ProgramRect(const QWidget* w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// The window framed and its top left corner shown where the program holds
// it to be, whatever size the window manager left it.
inline bool PlacedOnDesktop(const QWidget* w)
{
    return OnDesktop(w) && Framed(w) && DisplayedRect(w).topLeft() == ProgramRect(w).topLeft();
}

// The window framed and shown where and as large as the program holds it to
// be, so that a click at a point it computes (its title bar, a button)
// reaches it: some window managers place a new window themselves, and the
// program learns of the place and the size only later.
inline bool ShownInPlace(const QWidget* w)
{
    return OnDesktop(w) && Framed(w) && DisplayedRect(w) == ProgramRect(w);
}

// True when the window manager holds w as the active window and the program
// agrees.
inline bool ActiveOnDesktop(const QWidget* w)
{
    const auto active = RootWindows("_NET_ACTIVE_WINDOW");
    return w != nullptr && QApplication::activeWindow() == w && !active.empty() &&
           active.front() == static_cast<xcb_window_t>(w->winId());
}

// The window the display sends the keys to (XCB_NONE: none, or it cannot
// tell).
inline xcb_window_t KeyboardFocus()
{
    xcb_connection_t* c = Connection();
    if (c == nullptr)
        return XCB_NONE;
    xcb_get_input_focus_reply_t* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    const xcb_window_t focus = reply != nullptr ? reply->focus : XCB_NONE;
    free(reply);
    return focus;
}

inline bool KeysTo(const QWidget* w)
{
    return w != nullptr && w->internalWinId() != 0 && KeyboardFocus() == w->internalWinId();
}

// True when the window manager stacks upper above lower.
inline bool StackedAbove(const QWidget* upper, const QWidget* lower)
{
    const auto order = RootWindows("_NET_CLIENT_LIST_STACKING"); // bottom first
    const auto at = [&order](const QWidget* w) {
        return std::find(order.begin(), order.end(), static_cast<xcb_window_t>(w->winId())) - order.begin();
    };
    return at(lower) < static_cast<std::ptrdiff_t>(order.size()) &&
           at(upper) < static_cast<std::ptrdiff_t>(order.size()) && at(upper) > at(lower);
}

// A screen rectangle, as "width x height at left,top".
inline std::string Describe(const QRect& r)
{
    return QString("%1x%2 at %3,%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()).toStdString();
}

// What the program and the window manager hold when a step is not reached:
// the active window of each, the program's windows on the screen and in the
// window manager's stacking order, and the modal window the program waits
// on (a box with its text).
inline std::string DescribeDesktop()
{
    const auto name = [](const QWidget* w) {
        if (w == nullptr)
            return std::string("none");
        // The toolkit's boxes have no name of their own.
        return w->objectName().isEmpty() ? std::string(w->metaObject()->className())
                                         : w->objectName().toStdString();
    };
    const auto active = RootWindows("_NET_ACTIVE_WINDOW");
    std::string shown;
    std::string activeOnDesktop = "none";
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        // A widget without a window of its own has the id 0, the id of no
        // active window.
        if (!active.empty() && active.front() != XCB_NONE && w->internalWinId() == active.front())
            activeOnDesktop = name(w);
        if (w->isVisible())
            shown += " " + name(w) + " (" + Describe(DisplayedRect(w)) +
                     (DisplayedRect(w) == ProgramRect(w) ? "" : ", held at " + Describe(ProgramRect(w))) +
                     ")" + (w->windowHandle()->isExposed() ? "" : " (not exposed)") +
                     (Managed(w) ? "" : " (not managed)") + (w->isMinimized() ? " (minimised)" : "");
    }
    std::string waiting = "none";
    if (const QWidget* modal = QApplication::activeModalWidget()) {
        waiting = name(modal) + " \"" + modal->windowTitle().toStdString() + "\"";
        if (const auto* box = qobject_cast<const QMessageBox*>(modal))
            waiting += ": " + box->text().simplified().toStdString();
    }
    std::string stacked;
    for (const xcb_window_t id : RootWindows("_NET_CLIENT_LIST_STACKING"))
        for (const QWidget* w : QApplication::topLevelWidgets())
            if (id != XCB_NONE && w->internalWinId() == id)
                stacked += " " + name(w) + (AboveOnDesktop(w) ? " (top-most)" : "");
    // The window the display sends the keys to (a window of the program, or
    // another: the window manager's frame, the root).
    std::string keysTo = "another window";
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (KeysTo(w))
            keysTo = name(w);
    return "\n  active in the program: " + name(QApplication::activeWindow()) +
           "\n  active on the desktop: " + activeOnDesktop + "\n  keys to: " + keysTo + "\n  shown:" + shown +
           "\n  stacked, bottom first:" + stacked + "\n  modal: " + waiting;
}

// The program's message box or input box that waits for an answer, or
// nullptr.
inline BoxDialog* CurrentBox()
{
    if (frmMsg* box = frmMsg::Current())
        return box;
    return frmParameter::Current();
}

// One step of a scripted session: once ready() holds, act() runs.
struct Step
{
    const char* what;
    std::function<bool()> ready;
    std::function<void()> act = [] {};
};

// How long a step may wait for its state: however slow the window manager,
// it has answered long before.
constexpr int kStepWaitMs = 30000;

// Closes the box and the modal window that the program waits on; a modal
// box (the platform's plain box) answers as its escape button.
inline void CancelWaitingWindows()
{
    if (BoxDialog* box = CurrentBox())
        box->close();
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

// Runs the steps in order from a timer, so that they also run inside the
// program's own waits (a box waiting for its button). True when every step
// ran; a step still not ready half a minute after the step before it ran
// fails the test, and from then on the windows the program waits on are
// cancelled until its waits have ended, so that the test ends with them.
inline bool Drive(std::vector<Step> steps)
{
    std::size_t next = 0;
    bool failed = false;
    bool acting = false;
    QDeadlineTimer deadline(kStepWaitMs);
    QTimer timer;
    timer.setInterval(5);
    // The steps answer the boxes that come up while they run.
    modalwatch::AnswersWhile(&timer, [](const QWidget*) { return true; });
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (failed) {
            CancelWaitingWindows();
            return;
        }
        if (acting || next >= steps.size())
            return;
        if (steps[next].ready()) {
            acting = true;
            steps[next++].act();
            acting = false;
            deadline.setRemainingTime(kStepWaitMs);
        } else if (deadline.hasExpired()) {
            ADD_FAILURE() << "not reached: " << steps[next].what << DescribeDesktop();
            failed = true;
            CancelWaitingWindows();
        }
    });
    timer.start();
    while (next < steps.size() && !failed)
        QTest::qWait(5);
    return !failed;
}

// The layout a window made on opening, before the window manager told its
// frame, is the one a resize to the same size gives: the named buttons stay.
inline void ExpectLaidOutAsAfterAResize(QWidget* window, std::initializer_list<const char*> buttons)
{
    std::vector<std::pair<const QWidget*, QRect>> opened;
    for (const char* name : buttons) {
        const QWidget* child = window->findChild<QWidget*>(name);
        ASSERT_NE(child, nullptr) << name;
        opened.emplace_back(child, child->geometry());
    }
    const QSize size = window->size();
    for (const QSize to : {size + QSize(40, 40), size}) {
        window->resize(to);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->size() == to; }, 30000));
    }
    for (const auto& [child, geometry] : opened)
        EXPECT_EQ(child->geometry(), geometry) << child->objectName().toStdString();
}

template <typename Box> bool BoxUp()
{
    Box* box = Box::Current();
    return OnDesktop(box) && ActiveOnDesktop(box);
}

// The device window of RCC 1, opened from the main window and pinned with a
// click on its pin.
inline QPointer<frmDevices> PinnedDeviceWindow(frmMain& form)
{
    form.ActivateNode(1);
    form.PopupNodeDevices_Click();
    QPointer<frmDevices> devices = frmDevices::Loaded();
    EXPECT_TRUE(Drive({
        // It opens active.
        {"the device window shown and active",
         [&] { return ShownInPlace(devices) && ActiveOnDesktop(devices); }, [&] { Click(devices->PushPin); }},
        {"pinned",
         [&] {
             return DevicesPinned && AboveOnDesktop(devices) &&
                    devices->windowTitle() == "Device Settings for RCC 1";
         }},
    }));
    return devices;
}

// The properties window of RCC 1, opened from the main window and pinned
// with a click on its pin.
inline QPointer<frmNodeSettings> PinnedPropertiesWindow(frmMain& form)
{
    form.ActivateNode(1);
    form.PopupNodeEdit_Click();
    QPointer<frmNodeSettings> settings = frmNodeSettings::Loaded();
    EXPECT_TRUE(Drive({
        {"the properties window shown", [&] { return ShownInPlace(settings); },
         [&] { Click(settings->PushPin); }},
        {"pinned", [&] { return NodeSettingsPinned && AboveOnDesktop(settings); }},
    }));
    return settings;
}

// The main window with its site, on the desktop; the program's own boxes
// answer the editors.
class DesktopTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ShowMessagesInBoxes();
        LoadSite();
        ASSERT_TRUE(Drive({{"the main window active", [this] { return ActiveOnDesktop(form.get()); }}}));
    }
};

} // namespace desktop
