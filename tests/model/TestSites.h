#pragma once
// Small sites for the tests.
#include "model/ConfigurationCheck.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteQueries.h"
#include "model/SiteState.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Settings, site state and the nodes back to their start, as a window or
// link test begins.
inline void ResetSettingsAndSite()
{
    ResetSettings();
    ResetSiteState();
    model::ResetSite();
}

// The shared site emptied and numbered; its values, searches, file state and
// check back to their start.
inline void ResetToEmptySite()
{
    model::ResetSite();
    ResetSiteState();
    model::ResetSiteQueries();
    model::ResetSiteFile();
    model::ResetConfigurationCheck();
    for (int n = 0; n < model::kNodeCount; ++n)
        model::Nodes[static_cast<std::size_t>(n)].SetNodeNumber(n);
}

// Tests that start and end on the empty site.
class EmptySiteTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetToEmptySite(); }
    void TearDown() override { ResetToEmptySite(); }
};

// A numbered site: nodes 0..parents.size()-1 are in use, node i with parent
// parents[i]; the other nodes are not in use and have no parent.
inline std::unique_ptr<model::NodeArray> NumberedSite(const std::vector<int>& parents)
{
    auto nodes = std::make_unique<model::NodeArray>();
    for (int i = 0; i < model::kNodeCount; ++i) {
        model::clsNode& node = (*nodes)[static_cast<std::size_t>(i)];
        node.SetNodeNumber(i);
        const bool inUse = i < static_cast<int>(parents.size());
        node.SetInUse(inUse);
        node.SetParent(inUse ? parents[static_cast<std::size_t>(i)] : -1);
    }
    return nodes;
}
