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
#include "support/SimulatedPort.h"

#include <QTextEdit>

using namespace desktop;

namespace {

// The window opens with the link's own time-outs: the unit's answers to the
// opening and to the first reading come in time however busy the machine.
TEST_F(DesktopTest, TheDiagnosticsWindowStaysAboveTheDisabledMainWindow)
{
    SimulatedUnit unit;
    unit.SetSoftwareVersionLine("HUB V3.11");
    SimulatedPort port{unit};
    platform::SetComPortPath(9, port.SlavePath());
    PortNumber = 9;
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

TEST_F(DesktopTest, ClosingTheCommunicationsWindowActivatesTheOpenErrorList)
{
    SimulatedUnit unit;
    SimulatedPort port{unit};
    platform::SetComPortPath(9, port.SlavePath());
    PortNumber = 9;
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
