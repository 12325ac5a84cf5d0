// The program's boxes on a desktop: a question stays on the screen, with
// the window it belongs to, until it is answered.
#include "Desktop.h"

#include "platform/PlainMessageBox.h"

#include <QLabel>

using namespace desktop;

namespace {

// Bits of the window manager hints a window asks its frame with.
constexpr uint32_t kHintFunctions = 1, kHintDecorations = 2;
constexpr uint32_t kFunctionMinimise = 8, kFunctionMaximise = 16;
constexpr uint32_t kDecorMinimise = 32, kDecorMaximise = 64;

// What the window manager lets the user do with a box: it is moved (so the
// window manager does list what it allows), neither minimised nor maximised.
void ExpectNoMinimiseOrMaximise(const std::vector<uint32_t>& actions)
{
    const auto allows = [&actions](const char* action) {
        return std::find(actions.begin(), actions.end(), Atom(action)) != actions.end();
    };
    EXPECT_TRUE(allows("_NET_WM_ACTION_MOVE"));
    for (const char* action :
         {"_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"})
        EXPECT_FALSE(allows(action)) << action;
}

// Sees a window go minimised.
class MinimiseWatch : public QObject
{
public:
    explicit MinimiseWatch(QWidget* w) { w->installEventFilter(this); }
    bool minimised = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowStateChange &&
            (static_cast<QWidget*>(watched)->windowState() & Qt::WindowMinimized))
            minimised = true;
        return false;
    }
};

// Minimising a box took the main window with it (the window manager hides a
// window with the windows that belong to it), leaving an empty screen while
// the question waited. A box has a title bar without minimise and maximise
// buttons, and the window manager refuses to minimise or maximise it. Should
// it be minimised all the same (here with the main window), both come back
// at once, the box above and active; answered, it leaves the main window
// active.
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
    for (const auto& [kind, open] : boxes) {
        SCOPED_TRACE(kind);
        QPointer<BoxDialog> box;
        std::unique_ptr<MinimiseWatch> watch;
        std::vector<uint32_t> hints, frame, actions;
        const auto current = [] {
            return frmMsg::Current() != nullptr ? static_cast<BoxDialog*>(frmMsg::Current())
                                                : static_cast<BoxDialog*>(frmParameter::Current());
        };
        QTimer::singleShot(0, form.get(), open);
        EXPECT_TRUE(Drive({
            {"the box up", [&] { return OnDesktop(current()) && ActiveOnDesktop(current()); },
             [&] {
                 box = current();
                 hints = PropertyValues(box->winId(), "_MOTIF_WM_HINTS");
                 frame = PropertyValues(box->winId(), "_NET_FRAME_EXTENTS");
                 actions = PropertyValues(box->winId(), "_NET_WM_ALLOWED_ACTIONS");
                 watch = std::make_unique<MinimiseWatch>(box);
                 Xdo({"windowminimize", QString::number(box->winId())});
                 Xdo({"windowminimize", QString::number(form->winId())});
             }},
            {"the box and the main window back after the minimise",
             [&] {
                 return watch->minimised && !box->isMinimized() && !form->isMinimized() && OnDesktop(box) &&
                        ActiveOnDesktop(box) && StackedAbove(box, form.get()) &&
                        form->windowHandle()->isExposed();
             },
             [] { Keys("Return"); }},
            {"answered, the main window active again",
             [&] { return current() == nullptr && ActiveOnDesktop(form.get()); }},
        }));
        ASSERT_EQ(hints.size(), 5u);
        EXPECT_TRUE(hints[0] & kHintFunctions);
        EXPECT_FALSE(hints[1] & (kFunctionMinimise | kFunctionMaximise));
        EXPECT_FALSE((hints[0] & kHintDecorations) && (hints[2] & (kDecorMinimise | kDecorMaximise)));
        ExpectNoMinimiseOrMaximise(actions);
        // A title bar: the frame is deeper at the top than at the bottom.
        ASSERT_EQ(frame.size(), 4u);
        EXPECT_GT(frame[2], frame[3]);
    }
}

// The platform's plain box, too, has neither a minimise nor a maximise
// button, and is the active window while it waits.
TEST_F(DesktopTest, ThePlainBoxHasNoMinimiseOrMaximiseButton)
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
             return OnDesktop(box) && ActiveOnDesktop(box);
         },
         [&] {
             actions = PropertyValues(box->winId(), "_NET_WM_ALLOWED_ACTIONS");
             Keys("Return");
         }},
        {"answered", [&] { return box.isNull(); }},
    }));
    EXPECT_EQ(answer, 1);
    ExpectNoMinimiseOrMaximise(actions);
}

} // namespace
