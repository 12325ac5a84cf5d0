#include "app/core/CommsLaunch.h"

namespace app {

LaunchPlan PlanFor(LaunchCommand command)
{
    LaunchPlan plan;
    switch (command) {
    case LaunchCommand::HubProgram:
    case LaunchCommand::HubProgramToolsMenu:
        plan.action = hublink::kCommsProgram;
        break;
    case LaunchCommand::HubCompare:
    case LaunchCommand::RCCCompare:
        plan.action = hublink::kCommsCompare;
        break;
    case LaunchCommand::HubComms:
        break;
    case LaunchCommand::CompareConfig:
        plan.action = hublink::kCommsCompare;
        plan.selection = HubSelection::Select;
        break;
    case LaunchCommand::mnuOpenComms:
        plan.selection = HubSelection::SelectUnlessHub;
        break;
    case LaunchCommand::ReadConfig:
    case LaunchCommand::HubRead:
        plan.action = hublink::kCommsRead;
        plan.intervalMs = kCommsReadIntervalMs;
        plan.selection = HubSelection::Select;
        break;
    case LaunchCommand::TolsReadRLM:
    case LaunchCommand::TolsReadRLMFile:
    case LaunchCommand::TolsReadRLMPopup:
    case LaunchCommand::ToolsHubRead:
        plan.action = hublink::kCommsRead;
        plan.intervalMs = kCommsReadIntervalMs;
        plan.selection = HubSelection::Select;
        plan.loopInterface = command != LaunchCommand::ToolsHubRead;
        break;
    case LaunchCommand::ToolsRCCRead:
    case LaunchCommand::ToolsRCCReadPopup:
        plan.action = hublink::kCommsRead;
        plan.loopInterface = false;
        plan.needsRcc = true;
        break;
    case LaunchCommand::Read_Diags:
        plan.action = hublink::kCommsRead;
        plan.selection = HubSelection::Select;
        plan.unitNotIdentified = true;
        break;
    }
    return plan;
}

CommsDispatch DispatchFor(int32_t action)
{
    switch (action) {
    case hublink::kCommsProgram:
        return CommsDispatch::Program;
    case hublink::kCommsCompare:
        return CommsDispatch::Compare;
    case hublink::kCommsRead:
        return CommsDispatch::Read;
    default:
        return CommsDispatch::None;
    }
}

std::string PortFailureTitle(int activeNode)
{
    std::string title = "Open Communications with ";
    if (activeNode >= 1)
        return title + "RCC " + std::to_string(activeNode);
    return title + "Radio Hub";
}

void LoopInterfaceGuard::Apply(const std::optional<bool>& wanted, bool& isLoopInterface)
{
    saved.reset();
    if (!wanted)
        return;
    saved = isLoopInterface;
    isLoopInterface = *wanted;
}

void LoopInterfaceGuard::Restore(bool& isLoopInterface)
{
    if (saved)
        isLoopInterface = *saved;
    saved.reset();
}

ToolbarCommand ToolbarCommandFor(const std::string& key, bool commsFormActive, int activeNode)
{
    struct Button
    {
        const char* key;
        ToolbarCommand command;
        bool needsSelection;
    };
    static constexpr Button kButtons[] = {
        {"New", ToolbarCommand::NewFile, false},         {"Open", ToolbarCommand::FileLoad, false},
        {"Save", ToolbarCommand::FileSave, false},       {"NoQI", ToolbarCommand::NoQuick, false},
        {"IdentQI", ToolbarCommand::Ident_Quick, false}, {"LoopQI", ToolbarCommand::LA_Quick, false},
        {"Radio", ToolbarCommand::QuickChannels, false}, {"Delete", ToolbarCommand::RCCDelete, true},
        {"Add", ToolbarCommand::AddRCC, false},          {"Properties", ToolbarCommand::PopupNodeEdit, true},
        {"Check", ToolbarCommand::ErrorCheck, false},    {"Find", ToolbarCommand::FindDevice, false},
        {"Print", ToolbarCommand::PrintConfig, false},
    };
    if (commsFormActive)
        return ToolbarCommand::None;
    for (const Button& button : kButtons)
        if (key == button.key)
            return button.needsSelection && activeNode == -1 ? ToolbarCommand::None : button.command;
    return ToolbarCommand::None;
}

} // namespace app
