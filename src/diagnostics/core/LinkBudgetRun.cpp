#include "diagnostics/core/LinkBudgetRun.h"

#include "diagnostics/core/ReplyFields.h"
#include "model/Convert.h"
#include "model/SiteState.h"

namespace diagnostics {

namespace {

constexpr int kMaxHop = 4;
constexpr int kHopSearchDepth = 10;

bool IsManualUpdateLine(std::string_view line)
{
    const auto fields = SplitFields(line);
    return fields.size() >= 2 && fields[0] == "MANUAL" && fields[1] == "UPDATE";
}

} // namespace

std::optional<ManualUpdateReply> ParseManualUpdateReply(std::string_view line)
{
    const auto fields = SplitFields(line);
    if (fields.size() < 9 || fields[0] != "MANUAL" || fields[1] != "UPDATE" || fields[2].empty())
        return std::nullopt;
    ManualUpdateReply reply;
    // The loop is the first character of its field.
    const auto loop = ParseDecimal(fields[2].substr(0, 1));
    const auto address = ParseDecimal(fields[3]);
    if (!loop || !address)
        return std::nullopt;
    reply.loop = *loop;
    reply.address = *address;
    reply.version = std::string(fields[4]);
    if (!ParseFourNumbers(fields, 5, reply.budgets))
        return std::nullopt;
    return reply;
}

std::string ManualUpdateCommand(int loop, int address)
{
    std::string digits = std::to_string(address);
    return "GET_MANUAL_UPDATE_" + std::to_string(loop) + "_" + model::PadWithLeadingZeros(digits, 3);
}

LinkBudgetRun::LinkBudgetRun(model::NodeArray& nodes, LiveGrid& grid) : nodes_(nodes), grid_(grid) {}

LinkBudgetRun::UnitCount LinkBudgetRun::CountUnits() const
{
    UnitCount count;
    for (int n = first_; n < model::kNodeCount; ++n) {
        const model::clsNode& node = nodes_[static_cast<std::size_t>(n)];
        if (node.InUse()) {
            ++count.total;
            count.unanswered += node.GotNodeLiveStatus() ? 0 : 1;
        }
        for (int s = 1; s <= model::kLastSlot; ++s) {
            if (node.DeviceType(s) != 0) {
                ++count.total;
                count.unanswered += node.GotDeviceLiveStatus(s) ? 0 : 1;
            }
        }
    }
    return count;
}

bool LinkBudgetRun::Start(const std::string& unitVersion)
{
    grid_.SetUnitVersion(unitVersion);
    // The RLM itself is not asked, only its devices.
    first_ = IsLoopInterface ? 0 : 1;
    if (IsLoopInterface)
        nodes_[0].SetGotNodeLiveStatus(true);
    const UnitCount count = CountUnits();
    total_ = count.total;
    toAsk_ = count.unanswered;
    started_ = toAsk_ > 0;
    asked_ = 0;
    cancelled_ = false;
    portLost_ = false;
    hop_ = first_;
    node_ = first_;
    slot_ = 1;
    devicePhase_ = false;
    current_.reset();
    return started_;
}

std::optional<LinkRequest> LinkBudgetRun::Ask(int node, int slot)
{
    const model::clsNode& unit = nodes_[static_cast<std::size_t>(node)];
    LinkRequest request;
    request.node = node;
    request.slot = slot;
    request.loop = slot == 0 ? unit.NodeLoop() : unit.DeviceLoop(slot);
    request.address = slot == 0 ? unit.NodeAddress() : unit.DeviceAddress(slot);
    request.row = grid_.RowOf(slot == 0 ? unit.NodeGridRow() : unit.DeviceGridRow(slot));
    request.command = ManualUpdateCommand(request.loop, request.address);
    grid_.SetColour(request.row, LiveRowColour::Asking);
    current_ = request;
    return request;
}

std::optional<LinkRequest> LinkBudgetRun::Next()
{
    current_.reset();
    if (!started_ || cancelled_ || portLost_)
        return std::nullopt;
    // The RCCs, level by level from the hub, by number within a level.
    for (; !devicePhase_ && hop_ <= kMaxHop; ++hop_, node_ = first_) {
        while (node_ < model::kNodeCount) {
            const int n = node_++;
            const model::clsNode& node = nodes_[static_cast<std::size_t>(n)];
            if (node.InUse() && !node.GotNodeLiveStatus() && node.Hop(nodes_, kHopSearchDepth) == hop_)
                return Ask(n, 0);
        }
    }
    if (!devicePhase_) {
        devicePhase_ = true;
        node_ = first_;
        slot_ = 1;
    }
    // The devices of every RCC that has answered.
    for (; node_ < model::kNodeCount; ++node_, slot_ = 1) {
        const model::clsNode& node = nodes_[static_cast<std::size_t>(node_)];
        if (!node.InUse() || !node.GotNodeLiveStatus())
            continue;
        while (slot_ <= model::kLastSlot) {
            const int s = slot_++;
            if (node.DeviceType(s) != 0 && !node.GotDeviceLiveStatus(s))
                return Ask(node_, s);
        }
    }
    started_ = false;
    return std::nullopt;
}

void LinkBudgetRun::Answer(const UnitReply& reply)
{
    if (!current_)
        return;
    const LinkRequest request = *current_;
    current_.reset();
    if (reply.state == DiagsStateCode::ManualUpdateCancelled) {
        cancelled_ = true;
        return;
    }
    ++asked_;
    portLost_ = reply.portLost;
    // A line that is no manual-update reply tells nothing about the unit:
    // it stays unanswered and its row stays as being asked.
    if (reply.state == DiagsStateCode::ManualUpdateDone && !IsManualUpdateLine(reply.line))
        return;
    const auto update = reply.state == DiagsStateCode::ManualUpdateDone ? ParseManualUpdateReply(reply.line) : std::nullopt;
    if (!update || update->loop != request.loop || update->address != request.address) {
        grid_.SetColour(request.row, LiveRowColour::NoAnswer);
        return;
    }
    model::clsNode& node = nodes_[static_cast<std::size_t>(request.node)];
    for (int k = 1; k <= 4; ++k) {
        const int budget = update->budgets[static_cast<std::size_t>(k - 1)];
        if (request.slot == 0)
            node.SetNodeLinkBudget(k, budget);
        else
            node.SetDeviceLinkBudget(request.slot, k, budget);
    }
    if (request.slot == 0) {
        node.SetNodeVersion(update->version);
        node.SetGotNodeLiveStatus(true);
    } else {
        node.SetDeviceVersion(request.slot, update->version);
        node.SetGotDeviceLiveStatus(request.slot, true);
    }
    grid_.WriteReadings(request.row, node, request.slot);
    grid_.SetColour(request.row, LinkVerdict(update->budgets[0], update->budgets[1]) == "OK" ? LiveRowColour::Ok
                                                                                            : LiveRowColour::Caution);
}

bool LinkBudgetRun::AllDevicesFound() const
{
    return CountUnits().unanswered == 0;
}

RunMessage LinkBudgetRun::EndMessage() const
{
    if (toAsk_ == 0)
        return {"All Devices Already Found", "Rescan Failed Devices", 64};
    if (AllDevicesFound())
        return {"All Device Information Successfully Obtained", "Get Live Signal Information", 64};
    return {"Some Devices Failed to Respond", "Get Live Signal Information", 48};
}

bool RunLinkBudgets(LinkBudgetRun& run, const std::string& unitVersion,
                    const std::function<UnitReply(const LinkRequest&)>& ask)
{
    if (!run.Start(unitVersion))
        return true;
    while (const auto request = run.Next()) {
        run.Answer(ask(*request));
        if (run.Cancelled() || run.PortLost())
            return false;
    }
    return true;
}

} // namespace diagnostics
