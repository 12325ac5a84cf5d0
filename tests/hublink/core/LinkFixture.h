#pragma once
// Shared start of the link's tests: clean link, settings and site state, a
// hub on the virtual bench, time-outs at full length.
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/support/VirtualBench.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/base/TimeoutScale.h"
#include "model/TestSites.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace hublink;
using enum hublink::CommsStateCode;

class LinkFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettingsAndSite();
        platform::SetTimeoutScale(1.0);
        LogProg = false;
    }

    SimulatedUnit unit;
    VirtualBench bench{unit};
    CommsLink& link = bench.Link();
};
