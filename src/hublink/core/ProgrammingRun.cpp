#include "hublink/core/ProgrammingRun.h"

#include "hublink/core/AddressMaps.h"
#include "hublink/core/Assignment.h"
#include "hublink/core/ChangeList.h"
#include "hublink/core/CommsLink.h"
#include "hublink/core/CompareRun.h"
#include "hublink/core/ConfigCompare.h"
#include "hublink/core/HubDeletes.h"
#include "hublink/core/IProgrammingWindow.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/ProgrammingList.h"
#include "hublink/core/UnitQueries.h"
#include "model/ConfigurationCheck.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/base/MessageStyle.h"

#include <string>
#include <vector>

namespace hublink {

using enum CommsStateCode;

using model::HubNodes;
using model::Nodes;

namespace {

const std::string kOwnCaption; // the window's caption as title
const std::string kTarget = "the Radio Hub";
const std::string kCompleted = "Programming Completed Successfully";
const std::string kUnknownCommandAbort = "Programming Aborted Due to Unknown Command";
const std::string kNotComplete = "Programming is Not Complete";
const std::string kStrayChannelsKept =
    "The Radio Hub holds X-Protocol Channels for an RCC it has no Node for\r\n"
    "Only Clearing All Programming from the Hub removes them\r\nProgramming is Not Complete";
const std::string kDiffersBeyondTheList =
    "The Radio Hub differs from the Config in ways the List of Changes cannot Program\r\n"
    "Only Clearing All Programming from the Hub can change them\r\nProgramming is Not Complete";
const std::string kNotAsProgrammed = "The Radio Hub read back does not hold the Config as Programmed";
// Units a box names at most; the log names them all.
constexpr size_t kUnitsNamed = 5;
// More changes than this offer a clear before reprogramming.
constexpr int kClearOfferedAbove = 1000;
// The change-list modes of the error-list window.
constexpr long kModeCheck = 0;
constexpr long kModeParse = 4;
constexpr long kModeBuilding = -1;
constexpr long kModeChanges = 3;

// What a programming pass leaves to do.
enum class Pass
{
    Ended,     // the run is over, its outcome told
    ReadAgain, // channels were programmed: read the hub and compare again
    PlanAgain, // the hub was read to settle the deletes: the changes are planned again from
               // what it holds (HubNodes)
};

// The passes a run has made before the one under way.
struct Passes
{
    int count = 0;
    bool channelsSent = false;
};

// A run plans its changes at most this often: where a delete's answers left
// it open (a "NOT FOUND" says the download that planned it may have been
// wrong), the plan is taken again from the hub as read to settle it, a few
// times at most.
constexpr int kMostPlans = 3;

// A stop: nothing more is sent; the busy state (and with it the bar) ended
// and, with a text, the reason shown.
Pass Stop(CommsLink& link, IProgrammingWindow& window, const std::string& text = std::string())
{
    link.EndBusy();
    if (!text.empty())
        window.Display(text, MessageStyle::Critical, kOwnCaption);
    return Pass::Ended;
}

bool TargetIsHub(CommsLink& link, IProgrammingWindow& window)
{
    if (ActiveNode == -1) {
        ActiveNode = 0;
        window.SelectHub();
    }
    if (ActiveNode == 0)
        return true;
    link.LogLine("Attempt to update at an RCC instead of the Hub", true);
    link.EndBusy();
    window.Display("You can only perform an Update at the Radio Hub\r\n", MessageStyle::Critical, kOwnCaption);
    return false;
}

bool SiteIsClean(CommsLink& link, IProgrammingWindow& window)
{
    window.ClearLogBox();
    window.SetErrorCheckMode(kModeCheck);
    if (model::CheckConfiguration() == 0)
        return true;
    window.ShowErrorList();
    link.EndBusy();
    return false;
}

// The port, and the unit on it against the site: a hub with the site's
// hub ident, loop count and loop protocol. False after the reason was told.
bool UnitIsTheSitesHub(CommsLink& link, IProgrammingWindow& window)
{
    link.Window().SetProgressValue(0);
    window.ShowProgress();
    link.BeginBusy();
    PortEnabled = true;
    if (window.ResetPort() == PortStatus::Failed) {
        link.EndBusy();
        return false;
    }
    window.SetCancelCaption("&Close");
    window.ClearLogBox();
    link.Session().ReplyLineCount = 0;
    link.Session().RetryCount = 0;
    if (!window.DebugOutputStopped())
        window.SetDebugOutputStopped(StopDebugOutput(link));

    if (ReadUnitType(link, -1) != 4) {
        Stop(link, window, "The Connected Node is not a HUB");
        return false;
    }
    const std::string ident = ReadIdent(link);
    if (ident.empty()) {
        Stop(link, window, "Unable to Verify The Ident in " + kTarget);
        return false;
    }
    if (ident != Nodes[0].NodeIdent()) {
        link.LogLine("Ident Mismatch", true);
        Stop(link, window,
             "The Ident in " + kTarget + "\r\nDoes Not Match That In The Configuration\r\n" + kTarget +
                 " has an Ident of " + ident);
        return false;
    }
    // -1: a hub that does not know the question has any loop count.
    const int16_t loops = ReadLoopCount(link);
    if (loops != -1 && loops != LoopCount) {
        Stop(link, window,
             loops < 0 ? "Unable to read the number of Loops supported by the connected Hub"
                       : "The number of Loops supported by the Hub (" + std::to_string(loops) +
                             ")\r\nis not the same as the Configuration (" + std::to_string(LoopCount) + ")");
        return false;
    }
    if (ReadLoopProtocol(link) != LoopProtocol) {
        Stop(link, window, "The Loop Protocol in the Hub\r\nDoes not match the Configuration");
        return false;
    }
    return true;
}

// Parses the download in ReplyLines into HubNodes, asking whether to go on
// past lines it cannot take; false after a stop.
bool ParseTheHub(CommsLink& link, IProgrammingWindow& window)
{
    window.SetErrorCheckMode(kModeParse);
    if (window.ParseDownload(true) > 0) {
        window.ShowErrorList();
        if (window.Display("Errors were Encountered, Continue Anyway?", (MessageStyle::Question | MessageStyle::YesNo), kOwnCaption) == MessageResult::No) {
            Stop(link, window);
            return false;
        }
        window.CloseErrorList();
    }
    return true;
}

// Download and parse into HubNodes; false after a stop.
bool ReadTheHub(CommsLink& link, IProgrammingWindow& window)
{
    ICommsWindow& bar = link.Window();
    window.SetProgressMaximum(DownloadProgressMaximum(Nodes));
    bar.SetProgressValue(0);
    link.ProgressStep = 1;
    link.LogLine("Reading Current Configuration from " + kTarget + ".....", true);
    if (DownloadSysConfig(link) != SysConfigDone) {
        Stop(link, window, "Unable to Get Config due to Errors");
        return false;
    }
    bar.SetProgressValue(bar.ProgressMax());
    return ParseTheHub(link, window);
}

// The end of a list every command of which the hub acknowledged.
Pass Completed(CommsLink& link, IProgrammingWindow& window)
{
    link.Timer().Stop();
    link.EndBusy();
    link.LogLine(kCompleted, true);
    link.Session().CommsState = ProgramDone;
    window.Display(kCompleted, MessageStyle::Information, kOwnCaption);
    if (CommsCloseOnComplete)
        window.CloseWindow();
    return Pass::Ended;
}

// The run's end when the hub holds the site: after a later pass, the
// programming that the earlier ones began is complete.
Pass NothingToChange(CommsLink& link, IProgrammingWindow& window, bool laterPass)
{
    link.Window().HideProgress();
    if (laterPass)
        return Completed(link, window);
    const std::string text = "The Config matches " + kTarget + " already, Update not required";
    window.Display(text, MessageStyle::Information, kOwnCaption);
    link.LogLine(text, true);
    link.EndBusy();
    if (!window.OpenedOnly() && CommsCloseOnComplete)
        window.CloseWindow();
    return Pass::Ended;
}

// The end of a run that has sent all it could while the hub still differs
// from the site: why programming is not complete.
Pass NotComplete(CommsLink& link, IProgrammingWindow& window, const std::string& why)
{
    link.Timer().Stop();
    link.LogLine(why, true);
    return Stop(link, window, why);
}

// The heading, the first `named` units one a line, and the tail.
std::string UnitsText(const std::string& heading, const std::vector<std::string>& units, size_t named,
                      const std::string& tail)
{
    std::string text = heading + "\r\n";
    for (size_t i = 0; i < units.size() && i < named; ++i)
        text += units[i] + "\r\n";
    if (units.size() > named)
        text += "and " + std::to_string(units.size() - named) + " more\r\n";
    return text + tail;
}

// A run that ends not complete over units: the log names them all, the box
// the first few.
Pass NotCompleteOver(CommsLink& link, IProgrammingWindow& window, const std::string& heading,
                     const std::vector<std::string>& units, const std::string& tail)
{
    link.Timer().Stop();
    link.LogLine(UnitsText(heading, units, units.size(), tail), true);
    return Stop(link, window, UnitsText(heading, units, kUnitsNamed, tail));
}

// Compare Config of the download just parsed with the site, its lines added
// to the list: true when it finds a difference.
bool CompareFindsADifference()
{
    const int before = static_cast<int>(model::MessageCount());
    return CompareHubWithConfiguration() > before;
}

// What the change list and Compare found: their lines without the list's
// heading and the blank lines.
std::vector<std::string> Differences()
{
    std::vector<std::string> lines;
    for (size_t i = 1; i < model::MessageList.size(); ++i)
        if (model::MessageList[i].find_first_not_of(" \r\n") != std::string::npos)
            lines.push_back(model::MessageList[i]);
    return lines;
}

// After a list whose exchanges were irregular (a resend, a late, repeated or
// unexpected line, a garbled answer), the link may have taken a line for the
// wrong command's answer, and a download with a corrupted byte that kept its
// form may have misled the plan: the hub, read back, says whether it holds
// the site. It is complete only then; otherwise the run ends not complete,
// with what differs.
Pass CheckTheHubHoldsTheSite(CommsLink& link, IProgrammingWindow& window)
{
    link.LogLine("Some Replies from " + kTarget + " came Late, Twice or Out of Turn", true);
    if (!ReadTheHub(link, window))
        return Pass::Ended;
    BuildAddressMap();
    BuildHubAddressMap();
    window.SetErrorCheckMode(kModeBuilding);
    const int changes = BuildChangeList();
    if (changes == 0 && !CompareFindsADifference())
        return Completed(link, window);
    window.SetErrorCheckMode(kModeChanges);
    window.ShowErrorList();
    return NotCompleteOver(link, window, kNotAsProgrammed, Differences(), kNotComplete);
}

// Sends the list in the link's arrays and waits while the link walks it.
// Left non-empty, leftOver says what the list cannot change, and the run
// ends with it instead of the completion.
Pass SendTheList(CommsLink& link, IProgrammingWindow& window, bool readAgain, const std::string& leftOver)
{
    ICommsWindow& bar = link.Window();
    if (link.Session().CommandCount == 0) {
        link.Session().CommsState = Idle;
        if (readAgain)
            return Pass::ReadAgain;
        if (!leftOver.empty())
            return NotComplete(link, window, leftOver);
        if (link.ExchangesIrregular())
            return CheckTheHubHoldsTheSite(link, window);
        link.Timer().Stop();
        link.EndBusy();
        link.LogLine(kCompleted, true);
        window.Display(kCompleted, MessageStyle::Information, kOwnCaption);
        return Pass::Ended;
    }
    window.ShowProgress();
    link.ProgressStep = ListProgressStep(bar.ProgressMax() - bar.ProgressValue(), link.Session().CommandCount);
    link.Session().ReplyLineCount = 1;
    link.LogLine(link.Session().CommandCaptions[1], false);
    link.ProgramEndIsFinal = !readAgain && leftOver.empty();
    link.Transact(ProgramWait, link.Session().ReplyLines[1], FirstCommandTimeoutMs(link.Session().ReplyLines[1]));
    const bool endTold = link.ProgramEndIsFinal && !link.ExchangesIrregular();
    link.ProgramEndIsFinal = true;
    if (link.Session().CommsState == ProgramDone && readAgain)
        return Pass::ReadAgain;
    if (link.Session().CommsState == ProgramDone && !leftOver.empty())
        return NotComplete(link, window, leftOver);
    if (link.Session().CommsState == ProgramDone && !endTold)
        return CheckTheHubHoldsTheSite(link, window);
    if (link.Session().CommsState == ProgramDone && CommsCloseOnComplete) {
        window.CloseWindow();
        return Pass::Ended;
    }
    link.EndBusy();
    if (link.Session().CommsState == UnknownCommand) {
        // The hub has taken the commands before this one only: say so.
        link.LogLine(kUnknownCommandAbort, true);
        window.Display(kUnknownCommandAbort, MessageStyle::Critical, kOwnCaption);
    }
    return Pass::Ended;
}

// One read, compare and programming of the hub; a pass that plans again
// takes the hub as the run last read it (HubNodes).
Pass ProgramPass(CommsLink& link, IProgrammingWindow& window, const Passes& before, bool read)
{
    if (!read && !ReadTheHub(link, window))
        return Pass::Ended;
    const bool laterPass = before.count > 0;
    const bool canPlanAgain = before.count + 1 < kMostPlans;

    BuildAddressMap();
    BuildHubAddressMap();
    window.SetErrorCheckMode(kModeBuilding);
    int changes = BuildChangeList();
    if (changes == kChangeListChannelsFirst && before.channelsSent) {
        // The channels were sent and the hub still holds others.
        link.LogLine("The Radio Channels in the Radio Hub could not be Changed", true);
        return Stop(
            link, window,
            "The Radio Channels in the Radio Hub could not be Changed\r\nProgramming is Not Complete");
    }
    // The hub may be said to hold the site only when Compare of the same
    // download finds nothing either; what the change list missed then goes
    // with a clear, and the list shows Compare's lines.
    const bool beyondTheList = changes == 0 && CompareFindsADifference();
    if (beyondTheList)
        changes = static_cast<int>(model::MessageCount()) - 1;
    if (ConfirmDiffs && changes >= 1) {
        window.SetErrorCheckMode(kModeChanges);
        window.ShowErrorList();
        link.LogLine("Differences were Found", true);
        if (window.Display("Differences were Found, Continue Anyway?", (MessageStyle::Question | MessageStyle::YesNo), kOwnCaption) == MessageResult::No) {
            link.LogLine("User has Aborted the Update\r\n", true);
            return Stop(link, window);
        }
        link.LogLine("System will be Updated", true);
        window.CloseErrorList();
    }
    if (changes == 0)
        return NothingToChange(link, window, laterPass);

    if (NeedsManualDeletes(link.Session().HubVersion) &&
        ManualChangesCheck(link, HubNodes, [&window] { window.ShowErrorList(); }))
        return Pass::Ended;

    PutProgrammingList(link.Session(), ProgrammingList());
    link.Window().SetProgressValue(0);
    link.ProgressStep = 1;

    // Channels of an RCC the hub has no node line for go only with a clear,
    // and so do units that a delete by their ident could miss.
    const std::vector<std::string> undeletable =
        Nodes[0].NodeAdd() ? std::vector<std::string>() : UndeletableUnits(Nodes, HubNodes);
    if (!Nodes[0].NodeAdd() && (changes > kClearOfferedAbove || HubHoldsStrayChannels() || beyondTheList ||
                                !undeletable.empty())) {
        const int32_t answer =
            window.Display("Do You Wish to Clear All Programming from the Hub\r\nBefore Re-Programming?",
                           (MessageStyle::Question | MessageStyle::YesNo), kOwnCaption);
        if (answer == MessageResult::Yes) {
            Nodes[0].SetNodeAdd(true);
        } else if (beyondTheList) {
            return NotComplete(link, window, kDiffersBeyondTheList);
        } else if (!undeletable.empty()) {
            // Nothing is sent: what the list adds could share an address or
            // an ident with a unit left in the hub.
            return NotCompleteOver(
                link, window, "The Radio Hub holds Units that cannot be Deleted by their Ident", undeletable,
                "Only Clearing All Programming from the Hub removes them\r\n" + kNotComplete);
        }
    }
    const bool full = Nodes[0].NodeAdd();
    if (const DeletesOutcome deleted =
            full
                ? DeletesOutcome()
                : IncrementalDeletes(link, Nodes, HubNodes, [&window](bool on) { window.SetDeleteDots(on); });
        !deleted) {
        // The hub still holds what the site has dropped, and the list is
        // not sent. A lost port has been told.
        if (deleted.PortLost)
            return Stop(link, window);
        if (deleted.Unread)
            return Stop(link, window, "Unable to Get Config due to Errors");
        return NotCompleteOver(link, window, "The Radio Hub could not Delete", deleted.NotDeleted,
                               "The Changes were not Sent\r\n" + kNotComplete);
    } else if (deleted.Read && canPlanAgain) {
        // A delete's answers left it open, and the hub was read to settle
        // it: the rest is planned from what the hub holds now.
        return ParseTheHub(link, window) ? Pass::PlanAgain : Pass::Ended;
    }
    link.Session().CommsState = ProgramWait;
    link.Session().RetryCount = 0;
    PutProgrammingList(link.Session(), full ? BuildFullProgrammingList(Nodes, window.UnitConnected())
                            : BuildIncrementalProgrammingList(Nodes, HubNodes, window.UnitConnected()));
    // A reprogramming from clear sends everything; changes found by the
    // channel comparison alone are not all there is.
    return SendTheList(link, window, !full && changes == kChangeListChannelsFirst,
                       !full && HubHoldsStrayChannels() ? kStrayChannelsKept : std::string());
}

} // namespace

int16_t ListProgressStep(int remaining, int count)
{
    if (count <= 0 || remaining <= 0)
        return 0;
    int step = remaining / count;
    const int twice = 2 * (remaining % count);
    if (twice > count || (twice == count && step % 2 == 1))
        ++step;
    return static_cast<int16_t>(step);
}

void cmdUpdate_Click(CommsLink& link, IProgrammingWindow& window)
{
    link.Session().ReplyLines.assign(2, std::string());
    link.Session().CommandCaptions.assign(2, std::string());
    window.SetCancelCaption("Close");
    link.BeginBusy();
    link.StartRun();
    if (!TargetIsHub(link, window) || !SiteIsClean(link, window) || !UnitIsTheSitesHub(link, window))
        return;
    Passes done;
    for (Pass pass = ProgramPass(link, window, done, false); pass != Pass::Ended;) {
        ++done.count;
        done.channelsSent = done.channelsSent || pass == Pass::ReadAgain;
        pass = ProgramPass(link, window, done, pass == Pass::PlanAgain);
    }
}

void ClearProg_Click(CommsLink& link, IProgrammingWindow& window)
{
    if (PortReady(link, window))
        ClearProgramming(link);
}

} // namespace hublink
