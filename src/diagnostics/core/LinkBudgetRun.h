#pragma once
// The live link-budget run: every RCC (nearest to the hub first) and then
// every device of the RCCs that answered is asked for its link budgets with
// a manual-update command, one unit at a time; each reply is checked against
// the unit asked and its row coloured by the verdict. A rescan asks only the
// units that have not answered since the page was last cleared.
//
// The run is a series of steps the window drives: Start, then Next for the
// command of each unit and Answer with the link's final state and reply
// line, until Next gives nothing or the user cancels. RunLinkBudgets drives
// the steps through a function that asks one unit.
#include "diagnostics/core/DiagsStates.h"
#include "diagnostics/core/LiveGrid.h"
#include "hublink/core/LinkState.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace diagnostics {

inline constexpr int32_t kManualUpdateTimeoutMs = 15000;

// A unit's reply: "MANUAL UPDATE <loop> <address> <version> <b1> <b2> <b3> <b4>".
struct ManualUpdateReply
{
    int loop = 0;
    int address = 0;
    std::string version;
    std::array<int, 4> budgets{};
};
std::optional<ManualUpdateReply> ParseManualUpdateReply(std::string_view line);

// "GET_MANUAL_UPDATE_1_005": the address with at least three digits.
std::string ManualUpdateCommand(int loop, int address);

// One unit to ask.
struct LinkRequest
{
    int row = -1; // in the live grid (already coloured as being asked)
    int node = 0;
    int slot = 0; // 0 the node itself
    int loop = 0;
    int address = 0; // the address the reply must carry
    std::string command;
};

// What the link ended with: its final state and the reply line it took;
// portLost when the port went away (no further unit can be asked).
struct UnitReply
{
    hublink::StateCode state; // ManualUpdateDone, ManualUpdateTimedOut, ManualUpdateCancelled or a failure
    std::string line;
    bool portLost = false;
};

// The message the window shows at the end of a run.
struct RunMessage
{
    std::string text;
    std::string title;
    int32_t style = 0; // 64 information, 48 exclamation (OK button)
};

class LinkBudgetRun
{
public:
    LinkBudgetRun(model::NodeArray& nodes, LiveGrid& grid);

    // Counts the units and writes the unit's version into the hub row.
    // False when every unit has answered already (nothing to ask).
    bool Start(const std::string& unitVersion);
    // The next unit to ask, its row coloured blue; nothing when the run is
    // over or was cancelled.
    std::optional<LinkRequest> Next();
    // The outcome for the unit Next gave: the reply when its own loop and
    // address answered (green or yellow row, values stored, answered), a
    // cancel (the run stops, the row stays blue), a line that is no
    // manual-update reply (not answered, the row stays blue), anything else
    // not answered (dark red row, its values unchanged). A lost port ends the
    // run with the unit not answered.
    void Answer(const UnitReply& reply);

    int Total() const { return total_; }
    int ToAsk() const { return toAsk_; }
    int Asked() const { return asked_; }
    bool Cancelled() const { return cancelled_; }
    bool PortLost() const { return portLost_; }
    // Every unit of the site has answered (after this run or earlier).
    bool AllDevicesFound() const;
    // The message for a run that ended by itself (not for a cancel).
    RunMessage EndMessage() const;

private:
    std::optional<LinkRequest> Ask(int node, int slot);
    struct UnitCount
    {
        int total = 0;
        int unanswered = 0;
    };
    UnitCount CountUnits() const;

    model::NodeArray& nodes_;
    LiveGrid& grid_;
    int first_ = 1;
    int total_ = 0;
    int toAsk_ = 0;
    int asked_ = 0;
    bool started_ = false;
    bool cancelled_ = false;
    bool portLost_ = false;
    // Where Next goes on: the hop level and node of the RCC phase, then the
    // node and slot of the device phase.
    int hop_ = 0;
    int node_ = 0;
    int slot_ = 1;
    bool devicePhase_ = false;
    std::optional<LinkRequest> current_;
};

// The whole run: Start, then each unit through ask (which sends the request,
// waits for the link to finish and returns its final state and reply line).
// True when the run came to its end or had nothing to ask, False when
// cancelled or the port was lost.
bool RunLinkBudgets(LinkBudgetRun& run, const std::string& unitVersion,
                    const std::function<UnitReply(const LinkRequest&)>& ask);

} // namespace diagnostics
