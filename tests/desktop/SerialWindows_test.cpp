// A serial window disables the main window and stays above it, even when
// the user brings the main window forward from the task bar; it is laid
// out alike on opening and after a resize. Closing the communications
// window gives the activation to the error list when that is open. A close
// of the main window while a hub run goes on changes nothing, nor does a
// close of a serial window while its box is up; a box raised for a serial
// window stands with that window.
#include "Desktop.h"
#include "app/frmErrorCheck.h"
#include "diagnostics/frmDiagnostics.h"
#include "hublink/core/AddressMaps.h"
#include "model/SiteBuilder.h"
#include "platform/FileDialogs.h"
#include "platform/KeyboardFocus.h"
#include "platform/Ports.h"
#include "platform/Units.h"
#include "platform/Yield.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/TimeoutScale.h"
#include "support/ScreenShots.h"
#include "support/SimulatedPort.h"

#include <QFileDialog>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
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

// The close events a window receives, and how many of them came while the
// communications window ran a command on the unit.
class CloseWatch : public QObject
{
public:
    explicit CloseWatch(QWidget& window) { window.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            ++count;
            const frmComms* comms = frmComms::Loaded();
            duringRun += comms != nullptr && comms->Busy() ? 1 : 0;
        }
        return false;
    }
    int count = 0;
    int duringRun = 0;
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
// of its keys, a box it shows comes up above all three (the window does not
// close under it), and once it closes the editors are top-most again.
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
        std::unique_ptr<CloseWatch> closes;
        const auto boxAbove = [&] {
            return BoxUp<frmMsg>() && StackedAbove(frmMsg::Current(), window) && pinnedLowered();
        };
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
            {"a box above it, the editors still out of the top-most layer", boxAbove,
             [&] {
                 closes = std::make_unique<CloseWatch>(*window);
                 ClickCloseButton(window);
             }},
            // The window manager's close of the window is refused while the
            // box is up.
            {"the close of its frame handed to the window", [&] { return closes->count == 1; }},
            {"the box still above it", [&] { return boxAbove() && OnDesktop(window); }, [] { Keys("y"); }},
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

// The command lines the unit received after its first configuration read.
std::ptrdiff_t CommandsAfterTheRead(const SimulatedUnit& unit)
{
    const auto lines = unit.CommandLines();
    const auto read = std::find(lines.begin(), lines.end(), "GET SYSCONFIG");
    return read == lines.end() ? 0 : lines.end() - read - 1;
}

// The hub answers every command late. Closing the main window while the hub
// is programmed, by the window manager's close (as a task bar asks it) and
// by its frame's close button, changes nothing: the program goes on, the
// run ends as it would, and the hub holds the site. Closing the
// communications window while its report is up changes nothing either;
// once both have gone the main window is usable.
TEST_F(DesktopTest, ClosingTheMainWindowWhileTheHubIsProgrammedChangesNothing)
{
    HubOnPort9 hub;
    // The link's time-outs stretched: the late answers are never taken for
    // missing ones, however busy the machine.
    platform::SetTimeoutScale(5.0);
    hub.unit.SetLateDelayMs(400);
    hub.unit.SetFailure(FailureMode::Late);
    model::Nodes[3].SetInUse(false);
    model::Nodes[4].SetInUse(false);
    LoopCount = 2;
    sitebuild::PlaceTwoRccSite(model::Nodes, 0);
    hublink::BuildAddressMap();
    form->DisplayNodes();
    ConfirmDiffs = false;
    CommsCloseOnComplete = false;
    FileChanged = false;
    // An end of the program is recorded, not made; settings.ini goes aside.
    QTemporaryDir folder;
    platform::SetProgramFolder(folder.path().toStdString());
    int ended = -1;
    SetEndProcessHook([&](int code) { ended = code; });
    CloseWatch closes(*form);
    const auto completed = [] {
        const frmMsg* box = frmMsg::Current();
        return BoxUp<frmMsg>() && box->Label1->text() == "Programming Completed Successfully";
    };

    std::unique_ptr<CloseWatch> commsCloses;
    QMenu* fileMenu = form->Menu("FileMenu");
    const auto fileMenuOpen = [&] {
        return QApplication::activePopupWidget() == fileMenu && OnDesktop(fileMenu);
    };

    form->HubProgram_Click();
    EXPECT_TRUE(Drive({
        {"three programming commands sent",
         [&] { return CommandsAfterTheRead(hub.unit) >= 3 && ShownInPlace(frmComms::Loaded()); },
         [&] { CloseFromTaskBar(form.get()); }},
        {"the window manager's close handed to the main window", [&] { return closes.count == 1; },
         [&] { ClickCloseButton(form.get()); }},
        {"the close of the main window's frame handed to it", [&] { return closes.count == 2; }},
        // The window manager's close of the communications window while its
        // box is up is refused: the box stays with its window.
        {"the run completed", completed,
         [&] {
             commsCloses = std::make_unique<CloseWatch>(*frmComms::Loaded());
             ClickCloseButton(frmComms::Loaded());
         }},
        {"the close of the communications window's frame handed to it",
         [&] { return commsCloses->count == 1; }},
        {"the box still up over its window", [&] { return completed() && OnDesktop(frmComms::Loaded()); },
         [] { Keys("Return"); }},
        {"its box answered",
         [] {
             const frmComms* comms = frmComms::Loaded();
             return frmMsg::Current() == nullptr && comms != nullptr && !comms->Busy() &&
                    ActiveOnDesktop(comms);
         },
         [] { ClickCloseButton(frmComms::Loaded()); }},
        {"the communications window closed by its frame", [] { return frmComms::Loaded() == nullptr; }},
        // The main window usable: its File menu opens from the keys and from
        // the pointer.
        {"the main window enabled and active",
         [&] { return form->isEnabled() && ActiveOnDesktop(form.get()); }, [] { Keys("alt+f"); }},
        {"the File menu open from the keys", fileMenuOpen, [] { Keys("Escape"); }},
        {"the menu shut", [] { return QApplication::activePopupWidget() == nullptr; },
         [&] { Click(form->menuBar(), form->menuBar()->actionGeometry(fileMenu->menuAction()).center()); }},
        {"the File menu open from the pointer", fileMenuOpen, [] { Keys("Escape"); }},
    }));
    EXPECT_EQ(closes.duringRun, 2) << "each close came while the hub was programmed";
    EXPECT_EQ(ended, -1) << "the program ended";
    EXPECT_TRUE(form->isVisible());
    // The site's hub, RCCs, devices, channels and relations.
    EXPECT_EQ(hub.unit.Configuration(),
              (SimulatedUnit::Lines{"POPULATE LOOP1 NODE 1 0 01A2B 0", "POPULATE LOOP1 NODE 10 1 10001 0",
                                    "POPULATE LOOP1 NODE 11 2 10002 0", "POPULATE LOOP1 CALLPOINT 20 1 1A001 0",
                                    "POPULATE LOOP2 SOUNDER 21 1 1A002 1", "POPULATE LOOP1 OPTICAL 30 2 2A001 0",
                                    "YPROTRADIOCHANNELS 2 3", "XPROTRADIOCHANNELS 4 5 1", "XPROTRADIOCHANNELS 6 7 2",
                                    "RELATION ADD 1 0 1", "RELATION ADD 2 1 2"}));
    frmComms::Unload();
    SetEndProcessHook({});
    platform::SetProgramFolder("");
    platform::SetTimeoutScale(1.0);
}

// The boxes raised for a serial window belong to it: the box that says a
// launch cannot communicate, the save question of a read, a compare's report
// and the box of a port that does not open. While one is up the window
// manager keeps that window above the main window and the box above both,
// as the display shows them, also after a click on the main window's title
// bar or close button.
TEST_F(DesktopTest, ABoxRaisedForASerialWindowStandsWithIt)
{
    // A box is answered with keys once the display sends it the keys: the
    // window manager may name it the active window before it has them.
    const auto standsWith = [this](const QWidget* box, const QWidget* window) {
        return OnDesktop(box) && ActiveOnDesktop(box) && KeysTo(box) && window != nullptr &&
               OnDesktop(window) && StackedAbove(window, form.get()) && StackedAbove(box, window) &&
               ShownAtItsCorners(window);
    };
    const auto msgStandsWithComms = [&] {
        return BoxUp<frmMsg>() && standsWith(frmMsg::Current(), frmComms::Loaded());
    };
    // The window manager took each click on the main window: it activated
    // the main window, or handed it the close.
    std::vector<QPointer<QWindow>> focused;
    const QMetaObject::Connection watch = QObject::connect(
        qGuiApp, &QGuiApplication::focusWindowChanged, [&focused](QWindow* w) { focused.emplace_back(w); });
    const auto mainFocused = [&] {
        return std::find(focused.begin(), focused.end(), form->windowHandle()) != focused.end();
    };
    CloseWatch closes(*form);
    const auto launchBoxUp = [&] {
        const QWidget* box = QApplication::activeModalWidget();
        return box != nullptr && box->objectName() == "PlainMessageBox" && standsWith(box, frmComms::Loaded());
    };
    const auto closed = [this] { return frmComms::Loaded() == nullptr && form->isEnabled(); };
    // The file dialog is larger than the communications window and covers
    // it: no corner of that window shows the main window.
    const auto saveAsUp = [&] {
        const QWidget* dialog = QApplication::activeModalWidget();
        const QWidget* comms = frmComms::Loaded();
        if (qobject_cast<const QFileDialog*>(dialog) == nullptr || !OnDesktop(dialog) ||
            !ActiveOnDesktop(dialog) || !KeysTo(dialog) || !OnDesktop(comms) ||
            !StackedAbove(comms, form.get()) || !StackedAbove(dialog, comms))
            return false;
        const QRect r = comms->rect().adjusted(4, 4, -4, -4);
        for (const QPoint at : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            if (WindowAt(comms->mapToGlobal(at)) == form.get())
                return false;
        return true;
    };
    // The toolkit's own modal windows (the plain box, the file dialog) hear
    // nothing of a click on a window they keep waiting: what tells that the
    // window manager took it is the main window raised above the serial
    // window, however briefly.
    bool mainRaised = false;
    const platform::StackingWatch restacks([&] {
        const QWidget* serial = frmComms::Loaded();
        mainRaised = mainRaised || (serial != nullptr && StackedAbove(form.get(), serial));
    });
    const auto mainRaisedSeen = [&] { return mainRaised; };
    // Openbox, metacity and fluxbox raise neither window on such a click.
    const std::string manager = WindowManagerName();
    const bool raisesMain = manager.starts_with("KWin") || manager.starts_with("IceWM");
    // A click on the main window's body, clear of the serial window (some
    // window managers keep the main window below the serial window on a
    // click on its title bar): the toolkit's window stands with the serial
    // window after it.
    const auto clicksOnMain = [&](const char* standing, const std::function<bool()>& stands,
                                  const std::function<void()>& answer) {
        const QPoint body(40, form->height() - 60);
        if (!raisesMain)
            return std::vector<Step>{{standing, stands, answer}};
        return std::vector<Step>{
            {standing, stands, [&, body] { mainRaised = false; Click(form.get(), body); }},
            {"the click on the main window's body taken", mainRaisedSeen},
            {"the window above the serial window again", stands, answer},
        };
    };
    {
        // A hub answers where the launch looks for RCC 3: the window closes
        // its port and the launch says it cannot communicate. A read of the
        // hub asks first whether to save the changed site; Cancel closes
        // the window.
        // Patient time-outs: the link's waits end on the hub's answers, which
        // a busy machine may hold up past the link's own time-outs; the
        // window would then report a silent unit, not the boxes looked for.
        HubOnPort9 hub;
        platform::SetTimeoutScale(5.0);
        form->ActivateNode(3);
        form->RCCCompare_Click();
        std::vector<Step> steps = clicksOnMain("the launch's box above the communications window", launchBoxUp,
                                               [] { Keys("Return"); });
        // Yes to the save question, then the Save As dialog (the toolkit's
        // own) is cancelled.
        steps.push_back({"the communications window closed", closed, [this] {
                             FileChanged = true;
                             CheckOnClose = false; // the site is not one to save
                             platform::SetFileDialogAnswerer({});
                             form->ReadConfig_Click();
                         }});
        // Clicked once the display shows it where the program holds it: a
        // click on a box still being mapped or placed may be lost on a busy
        // machine.
        steps.push_back({"the save question above the communications window",
                         [&] { return msgStandsWithComms() && ShownInPlace(frmMsg::Current()); },
                         [] {
                             for (QPushButton* b : frmMsg::Current()->cmdButton)
                                 if (b->text() == "&Yes")
                                     Click(b);
                         }});
        for (Step& step :
             clicksOnMain("the Save As dialog above the communications window", saveAsUp, [] { Keys("Escape"); }))
            steps.push_back(std::move(step));
        steps.insert(steps.end(), {
            {"the read cancelled", closed, [this] { form->CompareConfig_Click(); }},
            // The site's hub has no ident: the compare reports a mismatch.
            {"the compare's report above the communications window", msgStandsWithComms,
             [&] {
                 focused.clear();
                 ClickTitle(form.get());
             }},
            {"the click on the main window's title bar taken", mainFocused},
            {"the report still above the window", msgStandsWithComms, [&] { ClickCloseButton(form.get()); }},
            {"the click on the main window's close button taken", [&] { return closes.count == 1; }},
            {"the report above the window again", msgStandsWithComms, [] { Keys("Return"); }},
            {"the report answered",
             [] { return frmMsg::Current() == nullptr && ActiveOnDesktop(frmComms::Loaded()); },
             [] { Click(frmComms::Loaded()->cmdCancel); }},
            {"the communications window closed again", closed},
        });
        EXPECT_TRUE(Drive(steps));
        platform::SetTimeoutScale(1.0);
    }
    QObject::disconnect(watch);
    // No port: the communications window reports the port's error before it
    // shows, then the launch says it cannot communicate; the diagnostics
    // window reports the port's error once it shows.
    PortNumber = 9;
    platform::SetComPortPath(9, "/nonexistent/tty-of-no-unit");
    form->mnuOpenComms_Click();
    std::vector<Step> steps = {{"the port's error",
                                [] { return BoxUp<frmMsg>() && KeysTo(frmMsg::Current()); },
                                [] { Keys("Return"); }}};
    for (Step& step : clicksOnMain("the launch's box above the communications window", launchBoxUp,
                                   [] { Keys("Return"); }))
        steps.push_back(std::move(step));
    steps.insert(steps.end(), {
        {"the communications window closed", closed, [this] { form->Diagnostics_Click(); }},
        {"the port's error above the diagnostics window",
         [&] { return BoxUp<frmMsg>() && standsWith(frmMsg::Current(), frmDiagnostics::Loaded()); },
         [] { Keys("Return"); }},
        {"the diagnostics window open",
         [] { return frmMsg::Current() == nullptr && !frmDiagnostics::Loaded()->Loading(); }},
    });
    EXPECT_TRUE(Drive(steps));
    if (frmDiagnostics* diagnostics = frmDiagnostics::Loaded())
        platform::UnloadFormNow(diagnostics);
    frmComms::Unload();
}

} // namespace
