#include "app/core/MenuState.h"

namespace app {

namespace {

MenuStateChange Shown(const char* name, bool visible, bool toolButton = false)
{
    MenuStateChange change;
    change.name = name;
    change.toolButton = toolButton;
    change.visible = visible;
    return change;
}

MenuStateChange Enabled(const char* name, bool enabled)
{
    MenuStateChange change;
    change.name = name;
    change.enabled = enabled;
    return change;
}

} // namespace

std::vector<MenuStateChange> LoopInterfaceMenuChanges(bool isLoopInterface)
{
    const bool hub = !isLoopInterface;
    std::vector<MenuStateChange> changes;
    for (const char* key : {"Delete", "Add", "Find", "Check"})
        changes.push_back(Shown(key, hub, true));
    for (const char* name : {"ReadConfig", "AddRCC", "ErrorCheck", "CompareConfig", "mnuOpenComms",
                             "HubProgramToolsMenu", "RCCDelete", "ToolsRCCReadPopup", "RCCCompare"})
        changes.push_back(Shown(name, hub));
    for (const char* name : {"TolsReadRLMFile", "TolsReadRLMPopup"})
        changes.push_back(Shown(name, isLoopInterface));
    changes.push_back(Shown("ToolsRCCRead", hub));
    changes.push_back(Shown("ToolsHubRead", true));
    changes.push_back(Shown("PopupNodeEdit", true));
    changes.push_back(Enabled("ViewMenu", hub));
    if (isLoopInterface) {
        changes.push_back(Shown("TolsReadRLM", true));
        changes.push_back(Enabled("NodeComms", false));
    } else {
        MenuStateChange comms = Shown("NodeComms", false);
        comms.enabled = true;
        changes.push_back(comms);
        changes.push_back(Shown("RNMenuSep2", false));
        changes.push_back(Shown("sep10", false));
        changes.push_back(Shown("HelpGuide", true));
        changes.push_back(Shown("HelpHistory", false));
        MenuStateChange caption;
        caption.name = "mnuOpenComms";
        caption.caption = "Open Comms with a Hub";
        changes.push_back(caption);
    }
    return changes;
}

} // namespace app
