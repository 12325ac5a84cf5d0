#pragma once
// What the diagnostics window knows of its session with the unit on the
// cable: the control mode and the reading under way, the unit's software
// version and what the unit answered, which page each tab shows, and the
// check after the opening handshake that the unit is one diagnostics can be
// done at. The window shows this state; it decides none of it.
#include "diagnostics/core/DiagsPages.h"
#include "diagnostics/core/LinkBudgetRun.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DiagsLink;

namespace diagnostics {

// What the unit check decides.
enum class UnitGate
{
    PortLost, // the port went away: its failure is shown already
    Accepted, // the unit diagnostics are for
    Refused,  // another unit: diagnostics are done at the hub only
};

// The outcome for the unit type "GET SWV" gave (DiagsLink::ReadSoftwareVersion)
// and the node the window was opened for (-1 none). Without a node, a hub's
// or an RCC's answer is followed by the ident question (hubIdentMatches: the
// unit's ident is the hub node's), and a unit of another ident is refused.
UnitGate GateUnit(int32_t unitType, int activeNode, const std::function<bool()>& hubIdentMatches);

class DiagsSession
{
public:
    int32_t ControlMode = ControlIdle;
    bool DiagBusy = false; // a list or the live run is being read
    // Every unit has answered the live run since the page was last cleared.
    bool AllDevicesFound = true;
    bool HaveDailyMaxima = false;
    bool DebugOutputStopped = false;
    std::string UnitVersion;
    // The page code of tabs 1..10 (index 0 unused); -1 no tab.
    std::array<int16_t, 11> TabPageCode{};

    // The tabs of the site's kind; their captions in order.
    std::vector<std::string> SetTabs(bool loopInterface);
    // The page of the tab at a 0-based index; -1 without one.
    int16_t PageOfTab(int tabIndex) const;
    // The first of the first tabCount tabs that shows page; -1 without one.
    int TabOfPage(int16_t page, int tabCount) const;

    // Reads the unit's version and decides. The window then drops the tab
    // UnsupportedTab names, if any, and tells RemoveTab.
    UnitGate CheckUnit(DiagsLink& diags, int activeNode, const std::string& hubIdent);
    // The 0-based tab of a page the unit's version cannot serve (live status
    // on a hub too old for it); -1 without one.
    int UnsupportedTab(bool loopInterface) const;
    void RemoveTab(int tabIndex);

    // The inputs of the page controls for the page shown.
    ControlInputs Inputs(int16_t page, bool loggingTicked) const;
};

// A list request ("GET DS ALL" and the like) started in waitCode, the reply
// lines emptied first (and the progress count too unless keepProgress);
// true when the list came in whole.
bool CollectList(DiagsLink& diags, hublink::StateCode waitCode, const std::string& command, bool keepProgress);

// One unit of the live run asked: the manual update goes out, the unit's
// loop address expected, and the reply line comes back with the final state.
UnitReply AskLinkBudget(DiagsLink& diags, const LinkRequest& request);

} // namespace diagnostics
