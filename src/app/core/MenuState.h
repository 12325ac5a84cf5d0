#pragma once
// Which menu items and toolbar buttons the main window offers on a Radio Hub
// site and on a loop-interface (RLM) site. The rules are data; the window
// applies them in one pass, and applying them again changes nothing.
#include <optional>
#include <string>
#include <vector>

namespace app {

// One change of the pass. A field left empty is not touched.
struct MenuStateChange
{
    std::string name;        // menu item name, or toolbar button key
    bool toolButton = false; // name is a toolbar button key
    std::optional<bool> visible;
    std::optional<bool> enabled;
    std::optional<std::string> caption;
};

// The changes for a hub site (false) or an RLM site (true). Items the pass
// does not name keep their state. A hub site shows "Read Config from an
// RCC" again after an RLM site hid it.
std::vector<MenuStateChange> LoopInterfaceMenuChanges(bool isLoopInterface);

} // namespace app
