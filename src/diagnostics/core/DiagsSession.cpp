#include "diagnostics/core/DiagsSession.h"

#include "diagnostics/core/DiagsLink.h"
#include "hublink/core/UnitQueries.h"

#include <algorithm>

namespace diagnostics {

using enum hublink::CommsStateCode;
using enum DiagsStateCode;

UnitGate GateUnit(int32_t unitType, int activeNode, const std::function<bool()>& hubIdentMatches)
{
    if (unitType == hublink::kUnitTypeNoPort)
        return UnitGate::PortLost;
    // 4 a hub where no other node was expected, 5 a unit that is refused.
    int32_t r = unitType;
    if (r == 1 || r == 3)
        r = activeNode == 0 ? 4 : 5;
    else if (activeNode == -1 && !hubIdentMatches())
        r = 5;
    return r == 4 ? UnitGate::Accepted : UnitGate::Refused;
}

std::vector<std::string> DiagsSession::SetTabs(bool loopInterface)
{
    TabPageCode.fill(-1);
    std::vector<std::string> captions;
    size_t index = 1;
    for (const DiagTab& tab : DiagTabs(loopInterface)) {
        captions.push_back(tab.Caption);
        TabPageCode[index++] = tab.Page;
    }
    return captions;
}

int16_t DiagsSession::PageOfTab(int tabIndex) const
{
    const int index = tabIndex + 1;
    return index >= 1 && index <= 10 ? TabPageCode[static_cast<size_t>(index)] : -1;
}

int DiagsSession::TabOfPage(int16_t page, int tabCount) const
{
    for (int i = 1; i <= 9 && i <= tabCount; ++i)
        if (TabPageCode[static_cast<size_t>(i)] == page)
            return i - 1;
    return -1;
}

UnitGate DiagsSession::CheckUnit(DiagsLink& diags, int activeNode, const std::string& hubIdent)
{
    const int32_t unitType = diags.ReadSoftwareVersion(activeNode, UnitVersion);
    return GateUnit(unitType, activeNode, [&] { return ReadIdent(diags.Link()) == hubIdent; });
}

int DiagsSession::UnsupportedTab(bool loopInterface) const
{
    if (loopInterface || !LiveStatusUnsupported(UnitVersion))
        return -1;
    return TabOfPage(PageLiveStatus, 9);
}

void DiagsSession::RemoveTab(int tabIndex)
{
    for (size_t j = static_cast<size_t>(tabIndex) + 1; j <= 9; ++j)
        TabPageCode[j] = TabPageCode[j + 1];
}

ControlInputs DiagsSession::Inputs(int16_t page, bool loggingTicked) const
{
    ControlInputs in;
    in.ControlMode = ControlMode;
    in.Page = page;
    in.DiagBusy = DiagBusy;
    in.AllDevicesFound = AllDevicesFound;
    in.LoggingTicked = loggingTicked;
    return in;
}

bool CollectList(DiagsLink& diags, hublink::StateCode waitCode, const std::string& command, bool keepProgress)
{
    diags.Link().Session().EmptyReplyLines();
    if (!keepProgress)
        diags.ReplyProgress = 0;
    hublink::StateCode done = DailyMaxDone;
    if (waitCode == AllStatusCollect)
        done = AllStatusDone;
    else if (waitCode == SignalsCollect)
        done = SignalsDone;
    return diags.Request(waitCode, command) == done;
}

UnitReply AskLinkBudget(DiagsLink& diags, const LinkRequest& request)
{
    diags.ExpectedUpdateAddress = request.address;
    std::vector<std::string>& lines = diags.Link().Session().ReplyLines;
    lines.resize(std::max<size_t>(lines.size(), 3));
    lines[0].clear();
    const hublink::StateCode state = diags.Request(ManualUpdateWait, request.command, kManualUpdateTimeoutMs);
    return UnitReply{state, lines[0], diags.Link().PortFailed()};
}

} // namespace diagnostics
