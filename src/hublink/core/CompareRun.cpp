#include "hublink/core/CompareRun.h"

#include "hublink/core/Assignment.h"
#include "hublink/core/CommsLink.h"
#include "hublink/core/ConfigCompare.h"
#include "hublink/core/IProgrammingWindow.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/UnitQueries.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/base/MessageStyle.h"

#include <algorithm>
#include <string>
#include <vector>

namespace hublink {

using enum CommsStateCode;

namespace {

const std::string kOwnCaption; // the window's caption as title
// A download is requested at most this often before its read fails.
constexpr int kDownloadReads = kMaxResends + 1;

// The ident check before a download; false after its message.
bool IdentMatches(CommsLink& link, IProgrammingWindow& window, const std::string& unit)
{
    const std::string ident = ReadIdent(link);
    if (ident.empty()) {
        link.EndBusy();
        window.RestoreWindow();
        window.Display("Unable to Verify The Ident in " + unit + "\r\n", MessageStyle::Critical, kOwnCaption);
        return false;
    }
    if (ident == model::Nodes[static_cast<size_t>(ActiveNode)].NodeIdent())
        return true;
    link.LogLine("Ident Mismatch", true);
    link.EndBusy();
    window.RestoreWindow();
    window.Display("The Ident in " + unit + "\r\nDoes Not Match That In The Configuration\r\n" + unit +
                       " has an Ident of " + ident,
                   MessageStyle::Critical, kOwnCaption);
    return false;
}

} // namespace

int DownloadProgressMaximum(const model::NodeArray& nodes)
{
    int maximum = 2;
    for (int n = 1; n < model::kNodeCount; ++n) {
        const model::clsNode& node = nodes[static_cast<size_t>(n)];
        if (node.InUse())
            maximum += 3 + node.DetectorCountRCC();
    }
    return maximum;
}

StateCode DownloadSysConfig(CommsLink& link, int32_t firstLineMs)
{
    LinkSession& session = link.Session();
    ICommsWindow& bar = link.Window();
    const int progress = bar.ProgressValue();
    // Of each download read so far that was not clean: its statements, and
    // the lines it held that were neither statements nor talk of other
    // exchanges.
    using Read = std::pair<std::vector<std::string>, std::vector<std::string>>;
    std::vector<Read> unclear;
    for (int read = 1; read <= kDownloadReads; ++read) {
        if (read > 1) {
            link.LogLine("The Configuration Received was Incomplete or Garbled, Reading it Again", true);
            bar.SetProgressValue(progress);
        }
        // A download that ended with its header needs no line timer.
        if (link.Transact(SysConfigWait, "GET SYSCONFIG", kReplyTimeoutMs) == SysConfigCollect) {
            link.Timer().Start(firstLineMs);
            link.WaitWhileState({SysConfigCollect});
        }
        if (session.CommsState == SysConfigDone) {
            if (session.StrayLines == 0)
                return SysConfigDone;
            const auto count = static_cast<size_t>(std::max<int16_t>(0, session.ReplyLineCount));
            const auto end = session.ReplyLines.begin() +
                             static_cast<std::ptrdiff_t>(std::min(count + 1, session.ReplyLines.size()));
            Read lines{std::vector<std::string>(session.ReplyLines.begin() + 1, end), session.UnreadLines};
            if (std::find(unclear.begin(), unclear.end(), lines) != unclear.end()) {
                // A line that neither read holds whole is the unit's own:
                // the parse reports it as a line it cannot take.
                for (const std::string& unread : session.UnreadLines) {
                    session.ReplyLines.push_back(unread);
                    ++session.ReplyLineCount;
                }
                return SysConfigDone;
            }
            unclear.push_back(std::move(lines));
        } else if (!link.CutShort()) {
            return session.CommsState;
        }
    }
    link.LogLine("The Configuration Received was Incomplete or Garbled at Every Read", true);
    link.Timer().Stop();
    session.CommsState = CommsFailed;
    return CommsFailed;
}

void TellConfigNotSent(CommsLink& link)
{
    const std::string text = "The Connected Node could not Send its Configuration\r\n"
                             "It does not Know the Command GET SYSCONFIG";
    link.LogLine(text, true);
    link.Window().ShowMessage(text, MessageStyle::Critical);
}

void CompareConfig_Click(CommsLink& link, IProgrammingWindow& window)
{
    const int node = ActiveNode;
    if (node < 0 || node >= model::kNodeCount) {
        window.Display("There is no Currently Selected Hub or RCC", MessageStyle::Critical, kOwnCaption);
        window.EnableProgram();
        return;
    }
    if (!PortReady(link, window))
        return;
    link.StartRun();
    link.BeginBusy();
    const bool hub = node == 0;
    const std::string unit = hub ? "The Radio Hub" : "RCC " + std::to_string(node);
    link.LogLine(hub ? std::string("Reading Current Configuration from Hub......")
                     : "Reading Current Configuration from RCC " + std::to_string(node) + " .....",
                 true);
    if (!IdentMatches(link, window, unit))
        return;

    ICommsWindow& bar = link.Window();
    window.SetProgressMaximum(DownloadProgressMaximum(model::Nodes));
    bar.SetProgressValue(0);
    window.ShowProgress();
    link.ProgressStep = 1;
    if (DownloadSysConfig(link) == SysConfigDone) {
        bar.SetProgressValue(bar.ProgressMax());
        window.SetErrorCheckMode(2);
        window.ParseDownload(false);
        const int16_t differences = CompareHubWithConfiguration();
        bar.HideProgress();
        if (differences > 0) {
            window.ShowErrorList();
        } else {
            window.RestoreWindow();
            window.Display(hub ? "The Hub matches the Configuration" : "The RCC matches the Configuration",
                           MessageStyle::Information,
                           hub ? "Compare Hub with Configuration" : "Compare RCC with Configuration");
        }
    }
    bar.SetProgressValue(0);
    link.EndBusy();
    if (link.Session().CommsState == CommsFailed) {
        window.RestoreWindow();
        window.Display("Unable to Get Config due to Errors", MessageStyle::Critical, kOwnCaption);
    } else if (link.Session().CommsState == UnknownCommand) {
        window.RestoreWindow();
        TellConfigNotSent(link);
    }
    PortEnabled = false;
    if (!window.OpenedOnly() && CommsCloseOnComplete)
        window.CloseWindow();
}

} // namespace hublink
