// What the diagnostics window asks of the unit: the refresh of each page,
// the live run, the single questions other windows put through it, and the
// comms stimulus file.
#include "diagnostics/frmDiagnostics.h"

#include "diagnostics/DiagsGrid.h"
#include "diagnostics/core/LinkBudgetRun.h"
#include "diagnostics/frmDiagnosticsInternal.h"
#include "hublink/PortPanel.h"
#include "hublink/SerialLink.h"
#include "hublink/core/UnitQueries.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Beep.h"
#include "platform/FileDialogs.h"
#include "platform/PlainMessageBox.h"
#include "platform/ProgramMessage.h"
#include "platform/base/MessageStyle.h"
#include "platform/base/ProgramFolder.h"

#include <QApplication>
#include <QProgressBar>

using namespace hublink;
using enum hublink::CommsStateCode;
using enum diagnostics::DiagsStateCode;

void frmDiagnostics::cmdRefresh_Click()
{
    tmrRefresh.stop();
    if (RefreshBusy || loading_)
        return;
    RunLinkOperation([this] {
        RefreshBusy = true;
        PortEnabled = true;
        if (ApplyPortSettings() == PortStatus::Ready) {
            Session.DebugOutputStopped = StopHubDebugOutput();
            CommsProgress->setValue(0);
            CommsProgress->setMaximum(100);
            CommsProgress->show();
            RefreshPage(SelectedPage());
        }
        RefreshBusy = false;
        QApplication::restoreOverrideCursor();
        setEnabled(true);
    });
}

bool frmDiagnostics::CollectList(StateCode waitCode, const std::string& command, bool keepProgress)
{
    SetLamp(true);
    Session.DiagBusy = true;
    const bool ok = diagnostics::CollectList(*diags_, waitCode, command, keepProgress);
    Session.DiagBusy = false;
    SetLamp(false);
    return ok;
}

void frmDiagnostics::RefreshPage(int16_t page)
{
    if (page == PageDeviceStatus) {
        StatusLabel->clear();
        if (GetAllDeviceStatus()) {
            CommsProgress->setValue(CommsProgress->maximum());
            ShowSelectedDeviceStatus();
        } else {
            UntickAuto();
            platform::ShowPlainMessage(this, "Unable To Get Status", MessageStyle::Critical, "Get Device Statuses");
        }
        CommsProgress->hide();
    } else if (page == PageSignalStrengths) {
        const int topRow = SignalGrid->rowAt(0);
        if (ReadSignalStrengths()) {
            Session.HaveDailyMaxima = false;
            if (Session.UnitVersion.substr(0, 4) >= "3.00") {
                Session.HaveDailyMaxima = ReadDailyMaxima();
                if (!Session.HaveDailyMaxima) {
                    UntickAuto();
                    platform::ShowPlainMessage(this, "Unable To Get Global Stats", MessageStyle::Critical,
                                               "Get Global Stats");
                }
            }
            FillSignalGrid(false);
            if (topRow >= 0)
                SignalGrid->scrollToItem(SignalGrid->item(topRow, 0), QAbstractItemView::PositionAtTop);
            if (SignalSelectedRow != -1)
                SignalGrid->SelectGridRow(SignalSelectedRow);
        } else {
            UntickAuto();
            platform::ShowPlainMessage(this, "Unable To Get Signal Strengths", MessageStyle::Critical,
                                       "Get Signal Strengths");
        }
        CommsProgress->hide();
    } else if (page == PageLiveStatus) {
        diagnostics::ClearLiveLinkData(model::Nodes);
        Session.AllDevicesFound = false;
        cmdSoft1->hide();
        cmdSoft2->show();
        FillLiveGrid(true);
        if (!GetLiveSignalInformation()) {
            ReportLiveRunFailure();
        }
        cmdSoft2->hide();
    }
}

bool frmDiagnostics::GetAllDeviceStatus()
{
    CommsProgress->setMaximum(std::max(diagnostics::ClearAllDeviceStatus(model::Nodes), 1));
    if (!CollectList(AllStatusCollect, diagnostics::kGetAllStatusCommand))
        return false;
    diagnostics::ApplyDeviceStatusReply(Comms().ReplyLines, Comms().ReplyLineCount, model::Nodes);
    return true;
}

std::string frmDiagnostics::GetDeviceStatusAt(int Loop, int Address)
{
    std::string text;
    RunLinkOperation([&] {
        const std::string command = diagnostics::DeviceStatusAtCommand(Loop, Address);
        if (diags_->Request(StatusAtWait, command) == StatusAtDone)
            text = diagnostics::DeviceStatusAtText(Loop, Address, Comms().LastRxLine);
    });
    return text;
}

bool frmDiagnostics::ReadSignalStrengths()
{
    // The bar covers this list and the daily maxima that may follow.
    CommsProgress->setMaximum(std::max(2 * diagnostics::ClearSignalStrengths(model::Nodes), 1));
    if (!CollectList(SignalsCollect, diagnostics::kGetSignalStrengthsCommand))
        return false;
    diagnostics::ApplySignalStrengthReply(Comms().ReplyLines, Comms().ReplyLineCount, model::Nodes);
    return true;
}

bool frmDiagnostics::ReadDailyMaxima()
{
    diagnostics::ClearDailyMaxima(model::Nodes);
    if (!CollectList(DailyMaxCollect, diagnostics::kGetDailyMaximaCommand, true))
        return false;
    diagnostics::ApplyDailyMaximumReply(Comms().ReplyLines, Comms().ReplyLineCount, model::Nodes);
    return true;
}

bool frmDiagnostics::GetLiveSignalInformation()
{
    SetLamp(true);
    Session.DiagBusy = true;
    CommsProgress->setValue(0);
    CommsProgress->show();
    diags_->ReplyProgress = 0;
    diagnostics::LinkBudgetRun run(model::Nodes, liveRows_);
    int shown = -1; // the row asked last, repainted once its answer is in
    const auto ask = [&](const diagnostics::LinkRequest& request) {
        if (shown == -1) {
            ShowLiveRow(1);
            CommsProgress->setMaximum(std::max(run.ToAsk(), 1));
            CommsProgress->setValue(0);
        }
        ShowLiveRow(shown);
        shown = request.row;
        ShowLiveRow(request.row);
        LiveGrid->SelectGridRow(request.row);
        return diagnostics::AskLinkBudget(*diags_, request);
    };
    const bool completed = diagnostics::RunLinkBudgets(run, Session.UnitVersion, ask);
    ShowLiveRow(shown);
    if (completed) {
        LiveGrid->setCurrentCell(0, 0);
        platform::Beep();
        CommsProgress->hide();
        Session.AllDevicesFound = run.AllDevicesFound();
        const diagnostics::RunMessage message = run.EndMessage();
        if (shown == -1)
            ShowLiveRow(1); // nothing was asked
        platform::ShowPlainMessage(this, message.text, message.style, message.title);
        UpdateControlStates();
        CommsProgress->setValue(CommsProgress->maximum());
    }
    SetLamp(false);
    Session.DiagBusy = false;
    CommsProgress->hide();
    return completed;
}

void frmDiagnostics::ReportLiveRunFailure()
{
    UntickAuto();
    // A lost port has told its error and shows the failure text already.
    if (serial_->Link().PortFailed())
        return;
    if (Comms().CommsState == ManualUpdateCancelled)
        platform::ShowPlainMessage(this, "Manual Update Cancelled", MessageStyle::Information, "Get Manual Update");
    else
        platform::ShowPlainMessage(this, "Unable To Perform Status Update", MessageStyle::Critical,
                                   "Get Manual Update");
}

void frmDiagnostics::DownloadRadioData()
{
    if (!PortEnabled) {
        PortEnabled = true;
        if (ApplyPortSettings() == PortStatus::Failed) {
            setEnabled(true);
            return;
        }
    }
    RunLinkOperation([this] {
        setEnabled(false);
        Comms().EmptyReplyLines();
        const StateCode state = diags_->Request(RadioDataWait, "GET RADIO ALL");
        setEnabled(true);
        if (state == RadioDataDone)
            platform::ShowProgramMessage(this, "Download Complete", MessageStyle::Exclamation, "Radio Data Download");
        else if (state == CommsFailed)
            platform::ShowProgramMessage(this, "Unable to Get Radio Data due to Errors", MessageStyle::Critical,
                                         windowTitle().toStdString());
    });
}

bool frmDiagnostics::VerifyHubIdent(int Index)
{
    bool same = false;
    if (Index < 0 || Index >= model::kNodeCount)
        return false;
    RunLinkOperation([&] { same = CheckIdent(serial_->Link(), static_cast<int16_t>(Index)); });
    return same;
}

PortStatus frmDiagnostics::ApplyPortSettings()
{
    return PortControls->ApplyPortSettings();
}

void frmDiagnostics::ReleaseStimulusFile()
{
    StimulusStream.reset();
    StimulusFileOpen = false;
}

void frmDiagnostics::LoadCommsStimulusFile()
{
    platform::FileDialogRequest request;
    if (StimulusFileOpen) {
        ReleaseStimulusFile();
        request.fileName = Q(StimulusFileName);
    } else {
        request.fileName = Q(platform::JoinPath(platform::ProgramFolder(), "Comms Input"));
    }
    request.title = QStringLiteral("Select a Comms Stimulus File");
    request.filter = platform::FilterFromPairs(QStringLiteral("Text File (*.txt)|*.txt"));
    request.defaultSuffix = QStringLiteral("txt");
    const std::optional<QString> chosen = platform::ShowFileDialog(this, request);
    if (!chosen)
        return;
    StimulusFileName = chosen->toStdString();
    auto stream = std::make_unique<std::ifstream>(StimulusFileName, std::ios::binary);
    if (!stream->is_open())
        return;
    StimulusStream = std::move(stream);
    StimulusFileOpen = true;
}
