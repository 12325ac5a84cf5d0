#include "hublink/core/OpeningSequence.h"

#include "hublink/core/CommsLink.h"
#include "hublink/core/ICommsForm.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/UnitQueries.h"
#include "model/Site.h"
#include "model/SiteState.h"

namespace hublink {

using enum CommsStateCode;

namespace {

constexpr int32_t kHubAnswered = 4;
constexpr int32_t kRccAnswered = 5;

// "Connected to ..." for a unit of the expected kind.
std::string ConnectedText(int node, int32_t connectedUnitType)
{
    if (node == 0)
        return IsLoopInterface ? "Connected to RLM" : "Connected to Radio Hub";
    if (node >= 1)
        return "Connected to RCC " + std::to_string(node);
    return connectedUnitType == 6 ? "Connected to RLM" : "Connected to Unknown Unit";
}

// No node was selected: the unit's ident names it. An empty ident (no
// answer) names no node, although unused nodes have empty idents too.
void Identify(CommsLink& link, ICommsForm& form, int32_t kind)
{
    link.LogLine(kind == kHubAnswered ? "Connected to a Radio Hub" : "Connected to an RCC", true);
    const std::string ident = ReadIdent(link);
    int found = -1;
    for (int i = 0; i < model::kNodeCount && found == -1 && !ident.empty(); ++i)
        if (model::Nodes[static_cast<size_t>(i)].NodeIdent() == ident)
            found = i;
    if (found == -1) {
        link.LogLine(kind == kRccAnswered ? "The Connected RCC is not in the Configuration loaded"
                                          : "The Connected Hub is not in the Configuration loaded",
                     true);
        ActiveNode = -1;
    } else {
        ActiveNode = static_cast<int16_t>(found);
        link.LogLine(found == 0 ? "Connected to the Radio Hub" : "Connected to RCC " + std::to_string(found), true);
        form.SetCaption(CommsCaption(found));
    }
    link.EndBusy();
}

} // namespace

std::string CommsCaption(int node)
{
    if (node == 0)
        return IsLoopInterface ? "Communicate with RLM" : "Communicate with Radio Hub";
    if (node < 0)
        return "Communicate with Unknown Unit";
    return "Communicate with RCC " + std::to_string(node);
}

double VersionValue(const std::string& version)
{
    double value = 0;
    double scale = 0;
    for (char c : version) {
        if (c == '.' && scale == 0) {
            scale = 0.1;
        } else if (c >= '0' && c <= '9') {
            if (scale == 0) {
                value = value * 10 + (c - '0');
            } else {
                value += (c - '0') * scale;
                scale /= 10;
            }
        } else {
            break;
        }
    }
    return value;
}

ConnectionState ConnectToUnit(CommsLink& link, ICommsForm& form)
{
    ConnectionState state;
    link.StartRun();
    link.BeginBusy();
    link.Session().ConnectedUnitType = 3;
    state.unitConnected = true;
    state.debugOutputStopped = StopDebugOutput(link);
    bool connected = state.debugOutputStopped;
    int32_t kind = 0;
    if (connected) {
        kind = ReadUnitType(link, ActiveNode);
        // A port lost meanwhile leaves no unit to talk to.
        connected = kind != kUnitTypeNoPort;
    }
    if (!connected) {
        state.unitConnected = state.debugOutputStopped;
        link.LogLine("Unable to Connect to Device", true);
    } else if (kind == kHubAnswered || kind == kRccAnswered) {
        if (ActiveNode != -1) {
            link.LogLine("The Connected Node is the Wrong Type", true);
            form.ClosePort();
            link.EndBusy();
            form.SetCancelCaption("Close");
            form.EnableCancelOnly();
            return state;
        }
        Identify(link, form, kind);
    } else {
        link.LogLine(ConnectedText(ActiveNode, link.Session().ConnectedUnitType), true);
        link.EndBusy();
    }
    if (link.Session().ConnectedUnitType == 4 && VersionValue(link.Session().HubVersion) >= 3.0)
        form.EnableAssignmentItems();
    link.LogLine("", true);
    if (!connected) {
        form.ClosePort();
        link.EndBusy();
    } else if (kind != kHubAnswered && kind != kRccAnswered && ActiveNode != -1 && !CheckIdent(link, ActiveNode)) {
        link.LogLine("Ident of Unit Does Not Match Configuration", true);
        form.SetCancelCaption("Close");
    }
    return state;
}

} // namespace hublink
