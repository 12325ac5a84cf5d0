#pragma once
// Serial work is launched in two steps: a menu command records the target
// node and the action and arms a one-shot timer; the timer's tick opens the
// communications window and runs the action. This module holds the rules of
// both steps; the main window carries them out.
#include "hublink/core/CommsAction.h"

#include <cstdint>
#include <optional>
#include <string>

namespace app {

constexpr int kCommsIntervalMs = 10;      // every launch but a read
constexpr int kCommsReadIntervalMs = 100; // ReadConfig_Click and the commands that run it

// The launch commands of the menus, the toolbar-less pop-ups and the start
// page.
enum class LaunchCommand
{
    HubProgram,
    HubProgramToolsMenu,
    HubCompare,
    HubComms,
    CompareConfig,
    mnuOpenComms,
    ReadConfig,
    HubRead,
    TolsReadRLM,
    TolsReadRLMFile,
    TolsReadRLMPopup,
    ToolsHubRead,
    ToolsRCCRead,
    ToolsRCCReadPopup,
    RCCCompare,
    Read_Diags
};

// How a launch command prepares the target before the timer is armed.
enum class HubSelection
{
    Keep,           // the target stays ActiveNode
    Select,         // select the hub, ActiveNode := 0
    SelectUnlessHub // select the hub only when ActiveNode is not 0
};

struct LaunchPlan
{
    int32_t action = hublink::kCommsOpenOnly;
    int intervalMs = kCommsIntervalMs;
    HubSelection selection = HubSelection::Keep;
    // The kind of site the read is for (true an RLM); none leaves it.
    std::optional<bool> loopInterface;
    bool needsRcc = false;          // refused unless ActiveNode is 1..31
    bool unitNotIdentified = false; // the start page's read: ActiveNode -1, FileLoaded false
};

LaunchPlan PlanFor(LaunchCommand command);

// The refusal of an RCC read with no RCC selected.
constexpr const char* kSelectRccText = "Please Select an RCC and then Try Again";
constexpr const char* kSelectRccTitle = "Read an RCC";

// The public procedure of the communications window the tick runs.
enum class CommsDispatch
{
    None,
    Program,
    Compare,
    Read
};
CommsDispatch DispatchFor(int32_t action);

// The port-failure message and its title for the target node: "Radio Hub"
// for the hub and for a unit not yet identified (-1), "RCC n" for an RCC.
constexpr const char* kPortFailureText = "Unable to Communicate with Selected Device";
std::string PortFailureTitle(int activeNode);

// The kind of site to restore after a launch that did not replace the site
// (the port would not open, or the read was cancelled): the value saved
// before the launch changed it, or none when the launch did not change it.
struct LoopInterfaceGuard
{
    std::optional<bool> saved;
    // Sets the wanted kind, keeping the current one for Restore.
    void Apply(const std::optional<bool>& wanted, bool& isLoopInterface);
    // Puts the kept kind back (no effect when Apply changed nothing).
    void Restore(bool& isLoopInterface);
};

// Toolbar dispatch by button key.
enum class ToolbarCommand
{
    None,
    NewFile,
    FileLoad,
    FileSave,
    NoQuick,
    Ident_Quick,
    LA_Quick,
    QuickChannels,
    RCCDelete,
    AddRCC,
    PopupNodeEdit,
    ErrorCheck,
    FindDevice,
    PrintConfig
};
// The command a toolbar button runs: none while the communications window
// is loaded, and none for "Delete" and "Properties" while nothing is
// selected; unknown keys run nothing.
ToolbarCommand ToolbarCommandFor(const std::string& key, bool commsFormActive, int activeNode);

// The print command's answer: the diagram is not printed.
constexpr const char* kPrintText = "Printing Is Not Yet Supported";
constexpr const char* kPrintTitle = "Print A Configuration";

} // namespace app
