#include "model/ChannelPlan.h"
#include "model/Site.h"

#include <gtest/gtest.h>
#include <set>

using namespace model;

namespace {

class ChannelChoice : public ::testing::Test
{
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        ResetSite();
        ResetChannelPlan();
    }

    static ChannelPlanList Empty()
    {
        ChannelPlanList list;
        list.fill(-1);
        return list;
    }
};

} // namespace

TEST_F(ChannelChoice, TheGeneratorMatchesTheUnits)
{
    EXPECT_EQ(NextRandom(), 16838);
    EXPECT_EQ(NextRandom(), 5758);
    SeedRandom(70000); // seeds are clamped to 16 bits
    EXPECT_TRUE(RandomState.low == 65535 && RandomState.high == 0);
}

TEST_F(ChannelChoice, PickFreeChannelHonoursBandsExclusionsAndSpacing)
{
    ChannelPlanList fullLow = Empty();
    for (int i = 0; i < 16; ++i)
        fullLow[static_cast<std::size_t>(i)] = static_cast<int16_t>(i + 1);
    const GeneratorState before = RandomState;
    EXPECT_EQ(PickFreeChannel(fullLow, 0, 0, -1, -1), -1);
    EXPECT_TRUE(RandomState.low == before.low && RandomState.high == before.high); // no draw was made

    ChannelPlanList used = Empty();
    used[0] = 5;
    used[1] = 20;
    for (int round = 0; round < 200; ++round) {
        const int low = PickFreeChannel(used, 0, 3, 1, 16); // 20 is in the other band
        ASSERT_TRUE(low > 1 && low < 16 && std::abs(low - 5) >= 3) << low;
        const int high = PickFreeChannel(used, 1, 3, -1, -1);
        ASSERT_TRUE(high >= 17 && high <= 32 && std::abs(high - 20) >= 3) << high;
        const int any = PickFreeChannel(used, 2, 0, -1, -1);
        ASSERT_TRUE(any >= 1 && any <= 32 && any != 5 && any != 20) << any;
    }

    // With spacing 0 or less, only the free, not excluded index of the band is fit.
    ChannelPlanList almost = fullLow;
    almost[8] = -1; // index 9 free
    EXPECT_EQ(PickFreeChannel(almost, 0, -4, -1, -1), 9);
    EXPECT_EQ(PickFreeChannel(almost, 0, 0, 9, -1), -1);
}

TEST_F(ChannelChoice, EveryPlanKeepsItsPropertiesAndAKnownIdentGivesItsKnownPlan)
{
    for (const char* ident : {"00000", "FFFFF", "12345", "ABCDE", "0BEEF", "", "3A1B2"}) {
        ResetSite();
        Nodes[0].SetNodeIdent(ident);
        AutoAssignChannels();
        const int ya = Nodes[0].Y_ChannelA();
        const int yb = Nodes[0].Y_ChannelB();
        std::set<int> as{ya}, bs{yb};
        EXPECT_NE(ya <= 16, yb <= 16) << ident;
        for (int n = 1; n <= 30; ++n) {
            const int xa = Nodes[n].X_ChannelA();
            const int xb = Nodes[n].X_ChannelB();
            EXPECT_NE(xa <= 16, xb <= 16) << ident << " RCC " << n; // opposite bands
            EXPECT_TRUE(xa != ya && xa != yb && xb != ya && xb != yb) << ident << " RCC " << n;
            EXPECT_TRUE(as.insert(xa).second) << ident << " RCC " << n;
            EXPECT_TRUE(bs.insert(xb).second) << ident << " RCC " << n;
        }
        EXPECT_EQ(as.count(yb), 0u) << ident; // A covers every index but B(0)
        EXPECT_EQ(Nodes[31].X_ChannelA(), Nodes[1].X_ChannelA());

        // The same ident always gives the same plan, whatever was drawn before.
        auto plan = [] {
            std::vector<int> bs;
            for (int n = 1; n < 32; ++n)
                bs.push_back(Nodes[n].X_ChannelB());
            return bs;
        };
        const std::vector<int> first = plan();
        NextRandom();
        AutoAssignChannels();
        EXPECT_EQ(plan(), first) << ident;
    }
    // The known plan of a hub ident ending A1B2; only the hub's Y pair and the
    // RCCs' X pairs are written.
    EXPECT_EQ(Nodes[0].Y_ChannelB(), 8);
    for (const auto& [n, a, b] : {std::tuple{1, 32, 4}, {2, 17, 1}, {31, 32, 16}}) {
        EXPECT_EQ(Nodes[n].X_ChannelA(), a) << n;
        EXPECT_EQ(Nodes[n].X_ChannelB(), b) << n;
    }
    EXPECT_EQ(Nodes[0].X_ChannelA(), -1);
    EXPECT_EQ(Nodes[5].Y_ChannelA(), -1);
}
