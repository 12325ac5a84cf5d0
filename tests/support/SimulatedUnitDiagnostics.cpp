// The diagnostics commands of the simulated unit, in the shapes the
// diagnostics window reads, beyond the list commands the unit shares with
// the communications tests.
#include "support/SimulatedUnit.h"

#include <cstdlib>
#include <sstream>
#include <string>

void SimulatedUnit::InstallDiagnosticsCommands()
{
    const Handler manualUpdate = commands_["GET_MANUAL_UPDATE_"];
    // A unit that is not on the radio answers for itself through the hub:
    // version 255.255 and no budgets, so the tool need not wait out its
    // time-out.
    commands_["GET_MANUAL_UPDATE_"] = [manualUpdate](const std::string& c) {
        Lines lines = manualUpdate(c);
        if (lines.size() > 1)
            return lines;
        std::string loop, address;
        std::istringstream in(c.substr(18));
        std::getline(in, loop, '_');
        std::getline(in, address);
        lines.push_back("MANUAL UPDATE " + loop + " " + std::to_string(std::atoi(address.c_str())) +
                        " 255.255 0 0 0 0");
        return lines;
    };
}
