#pragma once
// Shared start of the link's tests: clean link, settings and site state, a
// hub on the virtual bench, time-outs at full length.
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/support/VirtualBench.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/base/TimeoutScale.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class LinkFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        ResetSiteState();
        ResetLinkState();
        platform::SetTimeoutScale(1.0);
        LogProg = false;
    }

    // Every write of the link joined, as the wire carried it.
    std::string Wire() const
    {
        std::string all;
        for (const auto& w : bench.Writes)
            all += w.Bytes;
        return all;
    }

    int Count(const std::vector<std::string>& lines, const std::string& text) const
    {
        int n = 0;
        for (const auto& l : lines)
            n += l == text ? 1 : 0;
        return n;
    }

    SimulatedUnit unit;
    VirtualBench bench{unit};
    CommsLink& link = bench.Link();
};
