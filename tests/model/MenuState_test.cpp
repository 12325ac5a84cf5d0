#include "model/MenuState.h"

#include <gtest/gtest.h>

#include <map>

using namespace model;

namespace {

// The state of every item after applying passes in order to a menu where
// every item starts visible and enabled with the caption "initial".
struct Item
{
    bool visible = true;
    bool enabled = true;
    std::string caption = "initial";
};

std::map<std::string, Item> Apply(std::initializer_list<bool> passes)
{
    std::map<std::string, Item> items;
    for (bool rlm : passes)
        for (const MenuStateChange& change : LoopInterfaceMenuChanges(rlm)) {
            Item& item = items[(change.toolButton ? "button:" : "") + change.name];
            if (change.visible)
                item.visible = *change.visible;
            if (change.enabled)
                item.enabled = *change.enabled;
            if (change.caption)
                item.caption = *change.caption;
        }
    return items;
}

} // namespace

TEST(MenuState, AnRlmSiteOffersOnlyTheRlmCommands)
{
    auto items = Apply({true});
    for (const char* key : {"Delete", "Add", "Find", "Check"})
        EXPECT_FALSE(items.at(std::string("button:") + key).visible) << key;
    for (const char* name :
         {"ReadConfig", "AddRCC", "ErrorCheck", "CompareConfig", "mnuOpenComms", "HubProgramToolsMenu",
          "RCCDelete", "ToolsRCCReadPopup", "RCCCompare", "ToolsRCCRead"})
        EXPECT_FALSE(items.at(name).visible) << name;
    for (const char* name :
         {"TolsReadRLMFile", "TolsReadRLMPopup", "TolsReadRLM", "ToolsHubRead", "PopupNodeEdit"})
        EXPECT_TRUE(items.at(name).visible) << name;
    EXPECT_FALSE(items.at("ViewMenu").enabled);
    EXPECT_FALSE(items.at("NodeComms").enabled);
    EXPECT_TRUE(items.at("NodeComms").visible); // visibility left as it was
    EXPECT_EQ(items.at("mnuOpenComms").caption, "initial");
    EXPECT_EQ(items.count("HelpHistory"), 0u);
    EXPECT_EQ(items.count("RNMenuSep2"), 0u);
}

TEST(MenuState, AHubSiteOffersTheHubCommands)
{
    auto items = Apply({false});
    for (const char* key : {"Delete", "Add", "Find", "Check"})
        EXPECT_TRUE(items.at(std::string("button:") + key).visible) << key;
    for (const char* name :
         {"ReadConfig", "AddRCC", "ErrorCheck", "CompareConfig", "mnuOpenComms", "HubProgramToolsMenu",
          "RCCDelete", "ToolsRCCReadPopup", "RCCCompare", "ToolsHubRead", "PopupNodeEdit", "HelpGuide"})
        EXPECT_TRUE(items.at(name).visible) << name;
    for (const char* name :
         {"TolsReadRLMFile", "TolsReadRLMPopup", "NodeComms", "RNMenuSep2", "sep10", "HelpHistory"})
        EXPECT_FALSE(items.at(name).visible) << name;
    EXPECT_TRUE(items.at("ViewMenu").enabled);
    EXPECT_TRUE(items.at("NodeComms").enabled);
    EXPECT_EQ(items.at("mnuOpenComms").caption, "Open Comms with a Hub");
    EXPECT_EQ(items.count("TolsReadRLM"), 0u); // left as the window made it
}

TEST(MenuState, AHubSiteAfterAnRlmSiteGetsItsRccReadBack)
{
    auto items = Apply({true, false});
    EXPECT_TRUE(items.at("ToolsRCCRead").visible);
    EXPECT_TRUE(items.at("ViewMenu").enabled);
    EXPECT_TRUE(items.at("NodeComms").enabled);
    EXPECT_FALSE(items.at("NodeComms").visible);
    EXPECT_TRUE(items.at("button:Check").visible);

    // Passing twice gives what passing once gives.
    auto twice = Apply({false, false});
    auto once = Apply({false});
    for (const auto& [name, item] : once) {
        EXPECT_EQ(twice.at(name).visible, item.visible) << name;
        EXPECT_EQ(twice.at(name).enabled, item.enabled) << name;
        EXPECT_EQ(twice.at(name).caption, item.caption) << name;
    }
}
