// The simulated unit's assignment: which units report themselves assigned
// in their status, and the commands that change it.
#include "support/SimulatedUnit.h"

#include <algorithm>

namespace {

using Lines = SimulatedUnit::Lines;

const char* const kAssignedStatus = "SSG";
const char* const kUnassignedStatus = "UCF";

// Fields of a POPULATE line: 2 "NODE" or the type word, 4 the node number,
// 5 the ident.
bool IsHub(const Lines& unit)
{
    return unit[2] == "NODE" && unit[4] == "0";
}

bool IsRcc(const Lines& unit)
{
    return unit[2] == "NODE" && unit[4] != "0";
}

} // namespace

std::string SimulatedUnit::StatusOf(const std::string& ident) const
{
    const auto found = status_.find(ident);
    return found == status_.end() ? kAssignedStatus : found->second;
}

void SimulatedUnit::InstallAssignmentCommands()
{
    // A unit that programming adds is not assigned until the hub assigns it
    // (the hub itself is never assigned).
    commands_["POPULATE "] = [this, populate = commands_["POPULATE "]](const std::string& c) {
        const Lines w = UnitWords(c);
        const bool hub = w.size() > 4 && w[2] == "NODE" && w[4] == "0";
        // A stored unit line holds its ident between blanks.
        const std::string ident = w.size() > 5 ? " " + w[5] + " " : std::string();
        const bool known = std::any_of(config_.begin(), config_.end(), [&ident](const std::string& line) {
            return line.rfind("POPULATE ", 0) == 0 && line.find(ident) != std::string::npos;
        });
        Lines reply = populate(c);
        if (!hub && !known && !ident.empty() && reply == Lines{c})
            status_[w[5]] = kUnassignedStatus;
        return reply;
    };
    // The hub reports each RCC and device it tried (only the RCCs for
    // "ASSIGN RCCS"), then "ASSIGN FINISH".
    auto assign = [this](bool rccsOnly) {
        return [this, rccsOnly](const std::string& c) {
            Lines lines{c};
            for (const Lines& unit : Units()) {
                if (IsHub(unit) || (rccsOnly && !IsRcc(unit)))
                    continue;
                const bool failed = assignFailures_.count(unit[5]) != 0;
                lines.push_back(failed ? "ASSIGN FAIL " + unit[5] : "ASSIGN_OK_" + unit[5]);
                status_[unit[5]] = failed ? kUnassignedStatus : kAssignedStatus;
            }
            lines.push_back("ASSIGN FINISH");
            return lines;
        };
    };
    commands_["ASSIGN ALL"] = assign(false);
    commands_["ASSIGN RCCS"] = assign(true);
    auto setAll = [this](const char* status) {
        return [this, status](const std::string& c) {
            for (const Lines& unit : Units())
                if (!IsHub(unit))
                    status_[unit[5]] = status;
            return Lines{c};
        };
    };
    commands_["UNASSIGN ALL"] = setAll(kUnassignedStatus);
    commands_["UNASSIGN CLEAR"] = setAll(kAssignedStatus);
}
