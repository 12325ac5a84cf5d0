#include "hublink/core/ReadConfiguration.h"

#include "hublink/core/AddressMaps.h"
#include "hublink/core/CommsLink.h"
#include "hublink/core/CompareRun.h"
#include "hublink/core/HubConfigParser.h"
#include "hublink/core/ICommsForm.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkText.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/OpeningSequence.h"
#include "hublink/core/UnitQueries.h"
#include "model/ConfigurationCheck.h"
#include "model/Convert.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/base/MessageStyle.h"

namespace hublink {

using enum CommsStateCode;

namespace {

constexpr int kProgressMax = 60;

// The query answered as it must, or the user chose to go on; false after
// the failure message was shown.
bool UnitType(CommsLink& link, ICommsForm& form)
{
    const StateCode state = link.Transact(SoftwareVersionWait, "GET SWV", kReplyTimeoutMs);
    if (state == SoftwareVersionDone) {
        // The unit on the cable tells the new site what node 0 is.
        IsLoopInterface = VersionReplyUnit(link.Session().AcceptedReply) == VersionUnit::LoopInterface;
        if (IsLoopInterface)
            form.SetCaption("Communicate with RLM");
        else if (model::Upper(link.Session().AcceptedReply.substr(0, 3)) == "HUB")
            form.SetCaption("Communicate with Radio Hub");
        else
            form.SetCaption("Communicate with RCC"); // its number is known once its ident is found
        return true;
    }
    if (state == UnknownCommand)
        return link.Window().ShowMessage("A Full Configuration Can Only Be Downloaded\r\nFrom a Radio Hub\r\n"
                                         "Do You Want to Continue?",
                                         (MessageStyle::Question | MessageStyle::CancelOK)) != MessageResult::Cancel;
    link.Window().ShowMessage("Unable to Verify The Type of the Connected Node\r\n", MessageStyle::Critical);
    return false;
}

void Step(CommsLink& link, const char* text)
{
    link.LogLine(text, true);
    link.AdvanceProgress();
}

bool Fail(CommsLink& link, const char* text)
{
    link.Window().ShowMessage(text, MessageStyle::Critical);
    return false;
}

// Ident, loop count and protocol; false after a failure message.
bool UnitSettings(CommsLink& link, std::string& ident)
{
    Step(link, "Checking Ident ....");
    if (link.Transact(IdentReadWait, "IDENTREAD", kReplyTimeoutMs) != IdentReadDone)
        return Fail(link, "Unable to Read The Ident in the Connected Node\r\n");
    ident = linktext::Right(link.Session().AcceptedReply, 5);

    Step(link, "Reading Loop Quantity ....");
    const int16_t loops = ReadLoopCount(link);
    if (link.Session().CommsState != LoopCountDone && link.Session().CommsState != UnknownCommand)
        return Fail(link, "Unable to Read the Number of Loops Supported by the Connected Node\r\n");
    if (loops >= 1 && loops <= 4)
        LoopCount = loops;

    Step(link, "Reading Loop Protocol ....");
    const int32_t protocol = ReadLoopProtocol(link);
    if (protocol == 5)
        return Fail(link, "Unable to Read the Loop Protocol from the Connected Node\r\n");
    if (protocol >= 1 && protocol <= 3) {
        LoopProtocol = static_cast<int16_t>(protocol);
        MaxLoopAddress = protocol == 1 ? 126 : 127;
    }
    return true;
}

// Which node of the download the unit on the cable is.
void NameTheUnit(CommsLink& link, ICommsForm& form, const std::string& ident)
{
    for (int i = 0; i < model::kNodeCount && !ident.empty(); ++i) {
        if (model::Nodes[static_cast<size_t>(i)].NodeIdent() != ident)
            continue;
        form.SetCaption(CommsCaption(i));
        if (i > 0) {
            link.Window().ShowMessage("Config was Downloaded from RCC " + std::to_string(i) +
                                          "\r\nThe Config is Not Complete Unless Downloaded from a Hub",
                                      MessageStyle::Critical);
            link.EndBusy();
        }
    }
}

} // namespace

void StartNewSite()
{
    for (int i = 0; i < model::kNodeCount; ++i) {
        model::Nodes[static_cast<size_t>(i)].InitializeNode();
        model::Nodes[static_cast<size_t>(i)].SetNodeNumber(i);
    }
    for (int loop = 1; loop <= 4; ++loop)
        for (int address = 1; address <= 128; ++address)
            SetOwner(LoopAddressOwner, loop, address, -1);
    LoopProtocol = 1;
    LoopCount = 4;
    MaxLoopAddress = 126;
    ActiveNode = 0;
    SiteName = "New Site";
    SiteNameX = 1500;
    SiteNameY = 200;
    ShowSiteName = true;
    SiteFileName = "untitled.qvs";
    FileChanged = true;
}

ReadOutcome ReadHubConfiguration(CommsLink& link, ICommsForm& form)
{
    link.StartRun();
    link.BeginBusy();
    form.ClearLogBox();
    link.LogLine("Reading Information, Please Wait ....", true);
    form.ResetProgress(kProgressMax);
    link.ProgressStep = 1;

    std::string ident;
    if (!UnitType(link, form) || !UnitSettings(link, ident)) {
        link.EndBusy();
        return ReadOutcome::Stopped;
    }

    Step(link, "Reading Configuration ....");
    if (DownloadSysConfig(link, kConfigLineTimeoutMs) == SysConfigDone) {
        FileChanged = true;
        // A read is never part of programming.
        if (ParseHubConfiguration(link.Session(), HubParseOptions{ActiveNode, false}) > 0)
            form.ShowParseErrors();
        Step(link, "Checking Configuration ....");
        CopyNodeArray(model::HubNodes, model::Nodes, 100);
        BuildAddressMap();
        NameTheUnit(link, form, ident);
        FileLoaded = true;
        form.ShowReadSite();
    }

    link.EndBusy();
    if (link.Session().CommsState == CommsFailed) {
        if (!link.RefusedLine().empty()) {
            // The download is incomplete without the line: nothing of it is kept.
            model::MessageList.clear();
            model::AddErrorLine(link.RefusedLine());
            form.ShowParseErrors();
        }
        link.LogLine("Unable to Get Config due to Errors", true);
        link.Window().ShowMessage("Unable to Get Config due to Errors", MessageStyle::Critical);
        return ReadOutcome::Failed;
    }
    if (link.Session().CommsState == SysConfigDone) {
        form.FillProgress();
        link.LogLine("Config Successfully Read", true);
        link.Window().ShowMessage("Config Successfully Read", MessageStyle::Information);
        return ReadOutcome::Downloaded;
    }
    // The unit does not know "GET SYSCONFIG".
    TellConfigNotSent(link);
    return ReadOutcome::Refused;
}

} // namespace hublink
