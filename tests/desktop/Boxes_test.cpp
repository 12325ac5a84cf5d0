// The program's boxes on a desktop: a question stays on the screen, with
// the window it belongs to, until it is answered.
#include "Desktop.h"

#include "platform/PlainMessageBox.h"
#include "platform/PrinterDialog.h"
#include "platform/WindowPlacement.h"

#include <QAbstractNativeEventFilter>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QToolButton>
#include <signal.h>

using namespace desktop;

namespace {

// Bits of the window manager hints a window asks its frame with.
constexpr uint32_t kHintFunctions = 1, kHintDecorations = 2;
constexpr uint32_t kFunctionMinimise = 8, kFunctionMaximise = 16;
constexpr uint32_t kDecorMinimise = 32, kDecorMaximise = 64;

// One window manager (openbox) offers to minimise every dialog, whatever the
// dialog asks for; a box minimised there comes back at once (below).
bool OffersMinimiseOnEveryDialog()
{
    return WindowManagerName() == "Openbox";
}

// What the window manager lets the user do with a box: it is moved (so the
// window manager does list what it allows), never maximised, and minimised
// only where the window manager offers it on every dialog.
void ExpectMovableNotMaximisableMinimisableOnlyWhereEveryDialogIs(const std::vector<uint32_t>& actions)
{
    const auto allows = [&actions](const char* action) {
        return std::find(actions.begin(), actions.end(), Atom(action)) != actions.end();
    };
    EXPECT_TRUE(allows("_NET_WM_ACTION_MOVE"));
    for (const char* action : {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"})
        EXPECT_FALSE(allows(action)) << action;
    if (!OffersMinimiseOnEveryDialog()) {
        EXPECT_FALSE(allows("_NET_WM_ACTION_MINIMIZE"));
    }
}

// A title bar with the box's own title: the frame has a top, deeper than its
// foot, and the window manager reads the title from the box.
void ExpectTitleBar(const QWidget* box, const std::string& title)
{
    const auto frame = PropertyValues(box->winId(), "_NET_FRAME_EXTENTS"); // left, right, top, bottom
    ASSERT_EQ(frame.size(), 4u);
    EXPECT_GT(frame[2], 0u);
    EXPECT_GT(frame[2], frame[3]);
    EXPECT_EQ(PropertyText(box->winId(), "_NET_WM_NAME"), title);
}

// Sees one of the windows go minimised, or leave the screen: a window
// manager that puts a window back at once may do so before the program has
// read the minimised state.
class MinimiseWatch : public QObject
{
public:
    explicit MinimiseWatch(std::initializer_list<QWidget*> windows)
    {
        for (QWidget* w : windows) {
            w->installEventFilter(this);
            w->windowHandle()->installEventFilter(this);
        }
    }
    bool minimised = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowStateChange && watched->isWidgetType() &&
            (static_cast<QWidget*>(watched)->windowState() & Qt::WindowMinimized))
            minimised = true;
        if (event->type() == QEvent::Expose && watched->isWindowType() &&
            !static_cast<QWindow*>(watched)->isExposed())
            minimised = true;
        return false;
    }
};

// A box has a title bar with its title and asks for neither a minimise nor a
// maximise button; the window manager never offers to maximise it, and
// offers to minimise it only where it does so on every dialog. Minimised all
// the same, and the main window with it, both come back at once, the box
// above and active; answered, it leaves the main window active.
TEST_F(DesktopTest, BoxesStayOnTheScreenWithTheirOwner)
{
    const std::pair<const char*, std::function<void()>> boxes[] = {
        {"message box",
         [this] { frmMsg::Display(form.get(), "Are You Sure ?", 36, "Change Radio Channels"); }},
        {"input box",
         [this] {
             frmParameter::GetParameter(form.get(), "Please Enter the Ident", ParameterEntry::Text, 6,
                                        QString(), MessageStyle::CancelOK, "Search for a Device");
         }},
    };
    // What the window manager minimises: the box and the main window, the
    // box alone (as a task bar does) or the main window alone (which may
    // take the box with it). Back, the box takes the keys typed next however
    // long the window manager takes to show it again.
    const std::pair<const char*, std::pair<bool, bool>> minimised[] = {
        {"the box and the main window minimised", {true, true}},
        {"the box minimised", {true, false}},
        {"the main window minimised", {false, true}},
    };
    for (const auto& [kind, open] : boxes)
        for (const auto& [what, which] : minimised) {
            SCOPED_TRACE(std::string(kind) + ", " + what);
            QPointer<BoxDialog> box;
            std::unique_ptr<MinimiseWatch> watch;
            std::vector<uint32_t> hints, frame, actions;
            std::string title;
            QTimer::singleShot(0, form.get(), open);
            EXPECT_TRUE(Drive({
                {"the box up",
                 [&] {
                     return OnDesktop(CurrentBox()) && ActiveOnDesktop(CurrentBox()) && Framed(CurrentBox());
                 },
                 [&] {
                     box = CurrentBox();
                     title = PropertyText(box->winId(), "_NET_WM_NAME");
                     hints = PropertyValues(box->winId(), "_MOTIF_WM_HINTS");
                     frame = PropertyValues(box->winId(), "_NET_FRAME_EXTENTS");
                     actions = PropertyValues(box->winId(), "_NET_WM_ALLOWED_ACTIONS");
                     watch =
                         std::make_unique<MinimiseWatch>(std::initializer_list<QWidget*>{box, form.get()});
                     if (which.first)
                         Xdo({"windowminimize", QString::number(box->winId())});
                     if (which.second)
                         Xdo({"windowminimize", QString::number(form->winId())});
                 }},
                {"the minimise seen", [&] { return watch->minimised; }},
                {"the box and the main window back after the minimise",
                 [&] {
                     return !box->isMinimized() && !form->isMinimized() && OnDesktop(box) &&
                            ActiveOnDesktop(box) && StackedAbove(box, form.get()) &&
                            form->windowHandle()->isExposed();
                 },
                 [] { Keys("Return"); }},
                {"answered, the main window active again",
                 [&] { return CurrentBox() == nullptr && ActiveOnDesktop(form.get()); }},
            }));
            ASSERT_EQ(hints.size(), 5u);
            EXPECT_TRUE(hints[0] & kHintFunctions);
            EXPECT_FALSE(hints[1] & (kFunctionMinimise | kFunctionMaximise));
            EXPECT_FALSE((hints[0] & kHintDecorations) && (hints[2] & (kDecorMinimise | kDecorMaximise)));
            ExpectMovableNotMaximisableMinimisableOnlyWhereEveryDialogIs(actions);
            // A title bar with the box's title: the frame has a top, deeper than
            // its foot.
            ASSERT_EQ(frame.size(), 4u);
            EXPECT_GT(frame[2], 0u);
            EXPECT_GT(frame[2], frame[3]);
            EXPECT_EQ(title,
                      kind == std::string("message box") ? "Change Radio Channels" : "Search for a Device");
        }
}

// The platform's plain box waits as the active window, with a title bar
// that holds its title; the window manager never offers to maximise it, and
// offers to minimise it only where it does so on every dialog. Return answers
// it with OK.
TEST_F(DesktopTest, ThePlainBoxWaitsActiveWithItsTitleAndNoMaximise)
{
    int32_t answer = 0;
    QPointer<QWidget> box;
    std::vector<uint32_t> actions;
    QTimer::singleShot(0, form.get(), [&] {
        answer = platform::PlainMessageBox(form.get(), "Are You Sure ?", 33, "Change Radio Channels");
    });
    EXPECT_TRUE(Drive({
        {"the box up",
         [&] {
             box = form->findChild<QWidget*>("PlainMessageBox");
             return OnDesktop(box) && ActiveOnDesktop(box) && Framed(box);
         },
         [&] {
             actions = PropertyValues(box->winId(), "_NET_WM_ALLOWED_ACTIONS");
             ExpectTitleBar(box, "Change Radio Channels");
             Keys("Return");
         }},
        {"answered", [&] { return box.isNull(); }},
    }));
    EXPECT_EQ(answer, 1);
    ExpectMovableNotMaximisableMinimisableOnlyWhereEveryDialogIs(actions);
}

// The steps up to the toolkit's own box over the New Site dialog (File >
// New, then OK with nothing chosen: the dialog says what is missing), up and
// active; then is done with the box up.
std::vector<Step> UpToTheNewSiteBox(frmMain& form, QPointer<frmNewSite>& dialog, QPointer<QMessageBox>& box,
                                    std::function<void()> then)
{
    QTimer::singleShot(0, &form, [&form] { form.MenuItem("NewFile")->trigger(); });
    return {
        {"the new-site dialog up",
         [&dialog] {
             dialog = qobject_cast<frmNewSite*>(QApplication::activeModalWidget());
             return ShownInPlace(dialog) && ActiveOnDesktop(dialog);
         },
         [&dialog] { Click(dialog->cmdOK); }},
        {"the box up",
         [&box] {
             box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
             return OnDesktop(box) && ActiveOnDesktop(box) && Framed(box);
         },
         std::move(then)},
    };
}

// The toolkit's own box ("New Site Information" over the New Site dialog),
// minimised, comes back at once with the dialog and the main window, the box
// above the dialog and active; answered, it leaves the dialog active, and the
// dialog's Cancel closes it.
TEST_F(DesktopTest, AMinimisedToolkitBoxComesBackWithItsDialogAndTheMainWindow)
{
    QPointer<frmNewSite> dialog;
    QPointer<QMessageBox> box;
    std::unique_ptr<MinimiseWatch> watch;
    std::vector<Step> steps = UpToTheNewSiteBox(*form, dialog, box, [&] {
        ExpectTitleBar(box, "New Site Information");
        // The window manager may minimise the dialog and the main window with
        // the box, or the box with them.
        watch = std::make_unique<MinimiseWatch>(std::initializer_list<QWidget*>{box, dialog, form.get()});
        Xdo({"windowminimize", QString::number(box->winId())});
    });
    steps.insert(steps.end(), {
        {"the box or its owners minimised", [&] { return watch->minimised; }},
        {"the box, the dialog and the main window back",
         [&] {
             return !box->isMinimized() && !dialog->isMinimized() && !form->isMinimized() && OnDesktop(box) &&
                    ActiveOnDesktop(box) && StackedAbove(box, dialog) &&
                    dialog->windowHandle()->isExposed() && form->windowHandle()->isExposed();
         },
         [] { Keys("Return"); }},
        // Put back, the dialog may stand elsewhere than before: its Cancel is
        // clicked where the display shows it.
        {"answered, the dialog active again and shown in place",
         [&] { return box.isNull() && ActiveOnDesktop(dialog) && ShownInPlace(dialog); },
         [&] { Click(dialog->cmdCancel); }},
        {"the dialog gone", [] { return QApplication::activeModalWidget() == nullptr; }},
    });
    EXPECT_TRUE(Drive(steps));
}

// The session's window manager stopped for as long as a test holds it, as
// a slow one on a busy machine; it runs on again at the latest when the test
// ends.
class HeldWindowManager
{
public:
    HeldWindowManager() : pid_(qEnvironmentVariableIntValue("QVS_WM_PID")) {}
    ~HeldWindowManager() { Release(); }
    HeldWindowManager(const HeldWindowManager&) = delete;
    HeldWindowManager& operator=(const HeldWindowManager&) = delete;
    bool Known() const { return pid_ > 0; }
    void Hold()
    {
        if (Known() && ::kill(pid_, SIGSTOP) == 0)
            held_ = true;
    }
    void Release()
    {
        if (held_)
            ::kill(pid_, SIGCONT);
        held_ = false;
    }

private:
    pid_t pid_;
    bool held_ = false;
};

// Sees the display tell the program that a window got the keys. The program
// handles the news right after this filter has seen it, within the same
// turn of its event loop.
class KeysGivenWatch : public QAbstractNativeEventFilter
{
public:
    KeysGivenWatch() { QCoreApplication::instance()->installNativeEventFilter(this); }
    ~KeysGivenWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    KeysGivenWatch(const KeysGivenWatch&) = delete;
    KeysGivenWatch& operator=(const KeysGivenWatch&) = delete;

    void Watch(const QWidget& window)
    {
        window_ = static_cast<xcb_window_t>(window.winId());
        seen = false;
    }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_FOCUS_IN)
            return false;
        const auto* focus = static_cast<const xcb_focus_in_event_t*>(message);
        // The toolkit passes over the news of the pointer's window only.
        if (focus->event == window_ && focus->detail != XCB_NOTIFY_DETAIL_POINTER)
            seen = true;
        return false;
    }

    bool seen = false;

private:
    xcb_window_t window_ = XCB_NONE;
};

// The window manager gives the keys to the new-site dialog while its box
// waits (the program keeps the box as the active window), and the box is
// answered once the program has been told of the keys, before the window
// manager does anything more: once the box has gone, the dialog is the
// active window in the program as on the desktop, and its Cancel closes it.
TEST_F(DesktopTest, TheDialogThatGotTheKeysWhileItsBoxWaitedIsActiveOnceTheBoxIsAnswered)
{
    HeldWindowManager wm;
    ASSERT_TRUE(wm.Known()) << "the session names no window manager's process";
    QPointer<frmNewSite> dialog;
    QPointer<QMessageBox> box;
    KeysGivenWatch keys;
    // The keys go to the dialog as the window manager gives them.
    std::vector<Step> steps = UpToTheNewSiteBox(*form, dialog, box, [&] {
        wm.Hold();
        keys.Watch(*dialog);
        Xdo({"windowfocus", "--sync", QString::number(dialog->winId())});
    });
    steps.insert(steps.end(), {
        // The program shows nothing of the keys it was told of and kept from
        // the dialog; the box is answered while the window manager is still
        // held.
        {"the program told that the dialog has the keys", [&] { return keys.seen && KeysTo(dialog); },
         [&] { box->button(QMessageBox::Ok)->click(); }},
        // The program itself makes the dialog the active window: the
        // window manager, still held, has no part in it.
        {"answered, the dialog active in the program",
         [&] { return (box.isNull() || !box->isVisible()) && QApplication::activeWindow() == dialog; },
         [&] { wm.Release(); }},
        {"the dialog active and shown in place",
         [&] { return ActiveOnDesktop(dialog) && KeysTo(dialog) && ShownInPlace(dialog); },
         [&] { Click(dialog->cmdCancel); }},
        {"the dialog gone", [] { return QApplication::activeModalWidget() == nullptr; }},
    });
    EXPECT_TRUE(Drive(steps));
}

// A point of w where the display shows w, clear of the other windows
// ({-1, -1}: none).
QPoint VisiblePoint(const QWidget* w)
{
    const QRect r = w->rect().adjusted(10, 10, -10, -10);
    for (const QPoint at : {r.bottomLeft(), r.bottomRight(), r.topRight(), r.topLeft(), r.center()})
        if (WindowAt(w->mapToGlobal(at)) == w)
            return at;
    return {-1, -1};
}

// With a box up, a click on a window it keeps disabled (the main window, a
// pinned editor) makes the window manager activate that window; the box
// takes the activation straight back, and the keys typed next answer it.
TEST_F(DesktopTest, AClickOnADisabledWindowLeavesTheKeysWithTheBox)
{
    QPointer<frmDevices> devices = PinnedDeviceWindow(*form);
    ASSERT_TRUE(DevicesPinned);
    // The windows that the window manager made the focus window.
    std::vector<QPointer<QWindow>> focused;
    const QMetaObject::Connection watch = QObject::connect(
        qGuiApp, &QGuiApplication::focusWindowChanged, [&focused](QWindow* w) { focused.emplace_back(w); });

    struct Case
    {
        const char* what;
        QWidget* clicked;
        bool input;
        QString keys;
        int32_t code;
    };
    const Case cases[] = {
        {"a question, the main window clicked", form.get(), false, "n", MessageResult::No},
        {"a question, the pinned device window clicked", devices.data(), false, "y", MessageResult::Yes},
        {"the input box, the main window clicked", form.get(), true, "a b 1 2 Return", MessageResult::OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t code = 0;
        QTimer::singleShot(0, form.get(), [&] {
            code = c.input ? frmParameter::GetParameter(form.get(), "Please Enter the Ident",
                                                        ParameterEntry::Text, 6, QString(),
                                                        MessageStyle::CancelOK, "Search for a Device")
                           : frmMsg::Display(form.get(), "Are You Sure ?", 36, "Change Radio Channels");
        });
        EXPECT_TRUE(Drive({
            {"the box up", [&] { return OnDesktop(CurrentBox()) && ActiveOnDesktop(CurrentBox()); },
             [&] {
                 const QPoint at = VisiblePoint(c.clicked);
                 ASSERT_GE(at.x(), 0) << "the window is covered";
                 focused.clear();
                 Click(c.clicked, at);
             }},
            {"the window clicked activated",
             [&] {
                 return std::find(focused.begin(), focused.end(), c.clicked->windowHandle()) != focused.end();
             }},
            {"the box active again", [&] { return ActiveOnDesktop(CurrentBox()); },
             [&] {
                 for (const QString& key : c.keys.split(' '))
                     Keys(key);
             }},
            {"answered", [&] { return CurrentBox() == nullptr; }},
        }));
        EXPECT_EQ(code, c.code);
        if (c.input) {
            EXPECT_EQ(ParameterResult.toStdString(), "AB12");
        }
    }
    QObject::disconnect(watch);
}

// The main window's boxes and dialogs come up above a pinned device window
// that stands over the main window's middle, whatever the window manager
// does with the top-most layer: where the two overlap, the display shows the
// box (a click there reaches it), the box is active, and once it is answered
// the device window is back in the top-most layer.
TEST_F(DesktopTest, BoxesAndAboutComeUpAboveAPinnedDeviceWindow)
{
    QPointer<frmDevices> devices = PinnedDeviceWindow(*form);
    ASSERT_TRUE(DevicesPinned);
    // Its corner a little above and left of the middle, where the boxes come
    // up; the move is done once the window manager reports it.
    const QPoint middle = DisplayedFrame(form.get()).center();
    devices->move(middle - QPoint(40, 40));
    ASSERT_TRUE(Drive({{"over the middle of the main window", [&] {
                            return DisplayedFrame(devices).contains(middle) && WindowAt(middle) == devices;
                        }}}));
    const std::pair<const char*, std::function<void()>> boxes[] = {
        {"message box", [this] { frmMsg::Display(form.get(), "Are You Sure ?", 36, "Delete an RCC"); }},
        {"input box",
         [this] {
             frmParameter::GetParameter(form.get(), "Please Enter the Ident", ParameterEntry::Text, 6,
                                        QString(), MessageStyle::CancelOK, "Search for a Device");
         }},
        {"plain box",
         [this] { platform::PlainMessageBox(form.get(), "Are You Sure ?", 33, "Save Changes ?"); }},
        {"about", [this] { form->MenuItem("HelpAbout")->trigger(); }},
        {"printer dialog",
         [this] {
             QPrinter printer;
             platform::ChoosePrinter(form.get(), printer, false);
         }},
    };
    for (const auto& [kind, open] : boxes) {
        SCOPED_TRACE(kind);
        QPointer<QWidget> box;
        // Where the box and the device window overlap, once both are placed.
        const auto overlap = [&] { return DisplayedFrame(box) & DisplayedFrame(devices); };
        QTimer::singleShot(0, form.get(), open);
        EXPECT_TRUE(Drive({
            {"the box up, active and shown in the overlap",
             [&] {
                 box = CurrentBox() != nullptr ? CurrentBox() : QApplication::activeModalWidget();
                 return ShownInPlace(box) && ActiveOnDesktop(box) && ShownInPlace(devices) &&
                        !overlap().isEmpty() && WindowAt(overlap().center()) == box;
             },
             [&] { box->close(); }},
            {"answered", [&] { return box.isNull() || !box->isVisible(); }},
            {"the device window top-most again", [&] { return AboveOnDesktop(devices); }},
        }));
    }
}

// The frame the program takes for a box or a dialog, over which it centres
// what that window opens, is the one the display shows, also for a window
// that never moved: the toolkit's own record of such a window's frame can
// hold no frame at all (metacity) or one still being built.
TEST_F(DesktopTest, TheProgramTakesTheFrameOfABoxAsTheDisplayShowsIt)
{
    const std::pair<const char*, std::function<void()>> boxes[] = {
        {"plain box",
         [this] { platform::PlainMessageBox(form.get(), "Are You Sure ?", 33, "Save Changes ?"); }},
        {"about", [this] { form->MenuItem("HelpAbout")->trigger(); }},
    };
    for (const auto& [kind, open] : boxes) {
        SCOPED_TRACE(kind);
        QPointer<QWidget> box;
        QTimer::singleShot(0, form.get(), open);
        EXPECT_TRUE(Drive({
            {"the box up and shown in place",
             [&] {
                 box = QApplication::activeModalWidget();
                 return ShownInPlace(box) && ActiveOnDesktop(box);
             },
             [&] {
                 EXPECT_EQ(Describe(platform::FrameRect(*box)), Describe(DisplayedFrame(box)));
                 box->close();
             }},
            {"answered", [&] { return box.isNull() || !box->isVisible(); }},
        }));
    }
}

} // namespace
