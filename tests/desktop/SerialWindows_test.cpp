// A serial window disables the main window and stays above it, even when
// the user brings the main window forward from the task bar; it is laid
// out alike on opening and after a resize.
#include "Desktop.h"
#include "diagnostics/frmDiagnostics.h"
#include "platform/Ports.h"
#include "platform/Units.h"
#include "platform/Yield.h"
#include "support/SimulatedPort.h"

using namespace desktop;

namespace {

TEST_F(DesktopTest, TheDiagnosticsWindowStaysAboveTheDisabledMainWindow)
{
    SimulatedUnit unit;
    unit.SetSoftwareVersionLine("HUB V3.11");
    SimulatedPort port{unit};
    platform::SetTimeoutScale(0.05);
    platform::SetComPortPath(9, port.SlavePath());
    PortNumber = 9;
    form->Diagnostics_Click();
    QPointer<frmDiagnostics> diagnostics = frmDiagnostics::Loaded();
    ASSERT_NE(diagnostics, nullptr);
    ASSERT_TRUE(platform::WaitUntil([&] { return !diagnostics->Loading(); }, 200000));
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
    platform::SetTimeoutScale(1.0);
}

} // namespace
