// A serial window disables the main window and stays above it, even when
// the user brings the main window forward from the task bar; it is laid
// out alike on opening and after a resize. Closing the communications
// window gives the activation to the error list when that is open.
#include "Desktop.h"
#include "app/frmErrorCheck.h"
#include "diagnostics/frmDiagnostics.h"
#include "platform/Ports.h"
#include "platform/Units.h"
#include "platform/Yield.h"
#include "support/ScreenShots.h"
#include "support/SimulatedPort.h"

#include <QScreen>
#include <QTextEdit>

using namespace desktop;

namespace {

// A simulated hub on the cable of port 9, the port the program opens.
struct HubOnPort9
{
    HubOnPort9()
    {
        platform::SetComPortPath(9, port.SlavePath());
        PortNumber = 9;
    }
    SimulatedUnit unit;
    SimulatedPort port{unit};
};

// The window opens with the link's own time-outs: the unit's answers to the
// opening and to the first reading come in time however busy the machine.
TEST_F(DesktopTest, TheDiagnosticsWindowStaysAboveTheDisabledMainWindow)
{
    HubOnPort9 hub;
    hub.unit.SetSoftwareVersionLine("HUB V3.11");
    form->Diagnostics_Click();
    QPointer<frmDiagnostics> diagnostics = frmDiagnostics::Loaded();
    ASSERT_NE(diagnostics, nullptr);
    // Opened, and the device statuses it reads first are in.
    ASSERT_TRUE(platform::WaitUntil(
        [&] {
            return !diagnostics->Loading() && !diagnostics->RefreshBusy && !diagnostics->Session.DiagBusy;
        },
        200000));
    const auto onTop = [&] {
        return !form->isEnabled() && ActiveOnDesktop(diagnostics) && StackedAbove(diagnostics, form.get());
    };
    EXPECT_TRUE(Drive({
        {"the diagnostics window on top", onTop, [&] { ActivateFromTaskBar(form.get()); }},
        {"the diagnostics window on top again", onTop, [&] { ActivateFromTaskBar(form.get()); }},
        {"and once more", onTop},
    }));

    ExpectLaidOutAsAfterAResize(diagnostics, {"cmdExit"});
    diagnostics->Diags().Link().Timer().Stop();
    platform::UnloadFormNow(diagnostics);
}

// The serial windows open over pinned editors that stand where they come
// up: the device window over the keys at the window's foot on the left, the
// properties window over those on the right. While the window is up the
// editors leave the top-most layer, so the display shows the window at each
// of its keys, a box it shows comes up above all three, and once it closes
// the editors are top-most again.
TEST_F(DesktopTest, TheSerialWindowsComeUpAbovePinnedEditors)
{
    HubOnPort9 hub;
    hub.unit.SetSoftwareVersionLine("HUB V3.11");
    // Room around the main window for the diagnostics window, which is
    // wider and centred on it.
    form->move(300, 150);
    QPointer<frmDevices> devices = PinnedDeviceWindow(*form);
    // Clear of the device window, at the right edge of the screen.
    NodeWindowLeft = 1000000;
    NodeWindowTop = 0;
    QPointer<frmNodeSettings> settings = PinnedPropertiesWindow(*form);
    ASSERT_TRUE(devices != nullptr && settings != nullptr);
    // Its place is what counts here: fluxbox on a busy machine may leave it
    // a few pixels larger than the program asked for after its first frame.
    ASSERT_TRUE(Drive({{"the main window moved", [&] { return PlacedOnDesktop(form.get()); }}}));
    const auto pinnedOnTop = [&] { return AboveOnDesktop(devices) && AboveOnDesktop(settings); };
    const auto pinnedLowered = [&] { return !AboveOnDesktop(devices) && !AboveOnDesktop(settings); };

    struct Row
    {
        const char* what;
        QSize twips;                      // the window's size, centred on the main window
        std::function<void()> open;       // from the main window's menu
        std::function<QWidget*()> window; // the window, once open
        std::function<bool()> ready;      // its opening done
        std::vector<const char*> keys;    // the keys at its foot
        const char* close;                // the key that closes it
    };
    const Row rows[] = {
        {"diagnostics",
         {DiagsWindowWidth, DiagsWindowHeight},
         [this] { form->MenuItem("Diagnostics")->trigger(); },
         [] { return frmDiagnostics::Loaded(); },
         [] {
             frmDiagnostics* diagnostics = frmDiagnostics::Loaded();
             return !diagnostics->Loading() && !diagnostics->RefreshBusy && diagnostics->isEnabled();
         },
         {"cmdAuto", "cmdRefresh", "cmdExit"},
         "cmdExit"},
        {"communications",
         {CommsWindowWidth, CommsWindowHeight},
         [this] { form->mnuOpenComms_Click(); },
         [] { return frmComms::Loaded(); },
         [] {
             frmComms* comms = frmComms::Loaded();
             return !comms->Busy() &&
                    comms->StatusRTF->toPlainText().endsWith("Ident of Unit Does Not Match Configuration\n");
         },
         {"cmdCancel", "cmdProgram"},
         "cmdCancel"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // Where the window will come up, and the editors over its foot.
        QRect expected({}, QSize(platform::TwipsToPixels(row.twips.width()),
                                 platform::TwipsToPixels(row.twips.height())));
        expected.moveCenter(DisplayedFrame(form.get()).center());
        devices->move(expected.bottomLeft() + QPoint(60, -30) -
                      QPoint(devices->width() / 2, devices->height() / 2));
        settings->move(expected.bottomRight() + QPoint(-60, -30) -
                       QPoint(settings->width() / 2, settings->height() / 2));
        ASSERT_TRUE(Drive({{"the editors placed", [&] {
                                return ShownInPlace(devices) && ShownInPlace(settings) && pinnedOnTop();
                            }}}));

        QPointer<QWidget> window;
        int covered = 0;
        int32_t answer = 0;
        // The display shows the window at the middle of each of its keys.
        const auto keysShown = [&] {
            for (const char* name : row.keys) {
                const QWidget* key = window->findChild<QWidget*>(name);
                if (key == nullptr || WindowAt(key->mapToGlobal(key->rect().center())) != window)
                    return false;
            }
            return true;
        };
        QTimer::singleShot(0, form.get(), row.open);
        const bool reached = Drive({
            {"the window up, active and shown at its keys",
             [&] {
                 window = row.window();
                 return window != nullptr && row.ready() && !form->isEnabled() && ShownInPlace(window) &&
                        ActiveOnDesktop(window) && keysShown() && pinnedLowered();
             },
             [&] {
                 SaveShot(QGuiApplication::primaryScreen()->grabWindow(0).toImage(),
                          QString("%1-over-pinned-editors-%2")
                              .arg(row.what, QString::fromStdString(WindowManagerName()).toLower()));
                 for (const char* name : row.keys) {
                     const QWidget* key = window->findChild<QWidget*>(name);
                     const QPoint at = key->mapToGlobal(key->rect().center());
                     covered +=
                         DisplayedFrame(devices).contains(at) || DisplayedFrame(settings).contains(at);
                 }
                 QTimer::singleShot(0, window, [&] {
                     answer = frmMsg::Display(window, "Are You Sure ?", 36, "Clear Log File");
                 });
             }},
            {"a box above it, the editors still out of the top-most layer",
             [&] { return BoxUp<frmMsg>() && StackedAbove(frmMsg::Current(), window) && pinnedLowered(); },
             [] { Keys("y"); }},
            {"the box answered, the window active again",
             [&] {
                 return frmMsg::Current() == nullptr && ActiveOnDesktop(window) && keysShown() &&
                        pinnedLowered();
             },
             [&] { Click(window->findChild<QWidget*>(row.close)); }},
            {"the window closed, the editors top-most again",
             [&] { return window.isNull() && form->isEnabled() && pinnedOnTop(); }},
        });
        EXPECT_TRUE(reached);
        if (!reached) {
            // The next window cannot open while this one holds the port.
            if (frmDiagnostics* diagnostics = frmDiagnostics::Loaded())
                platform::UnloadFormNow(diagnostics);
            frmComms::Unload();
            return;
        }
        EXPECT_EQ(answer, MessageResult::Yes);
        EXPECT_EQ(covered, static_cast<int>(row.keys.size())) << "every key stands under an editor";
    }
}

TEST_F(DesktopTest, ClosingTheCommunicationsWindowActivatesTheOpenErrorList)
{
    HubOnPort9 hub;
    // The error list opens first; the main window is the active one after it.
    form->ErrorCheck_Click();
    QPointer<frmErrorCheck> errors = frmErrorCheck::Loaded();
    ASSERT_NE(errors, nullptr);
    ASSERT_TRUE(Drive({
        {"the error list active", [&] { return OnDesktop(errors) && ActiveOnDesktop(errors); },
         [&] { ActivateFromTaskBar(form.get()); }},
        {"the main window active again", [&] { return ActiveOnDesktop(form.get()); },
         [&] { form->mnuOpenComms_Click(); }},
    }));
    QPointer<frmComms> comms;
    EXPECT_TRUE(Drive({
        {"the communications window open",
         [&] {
             comms = frmComms::Loaded();
             // The site's hub has no ident: the opening's last line says so.
             return comms != nullptr && OnDesktop(comms) && !form->isEnabled() &&
                    comms->StatusRTF->toPlainText().endsWith("Ident of Unit Does Not Match Configuration\n");
         },
         [&] { Click(comms->cmdCancel); }},
        {"the error list active", [&] { return comms == nullptr && ActiveOnDesktop(errors); }},
    }));
    EXPECT_TRUE(form->isEnabled());
    frmComms::Unload();
}

} // namespace
