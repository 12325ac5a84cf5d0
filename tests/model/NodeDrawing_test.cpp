#include "TestSites.h"
#include "model/NodeDrawing.h"

#include <gtest/gtest.h>
#include <limits>

using namespace model;

namespace {

void Place(clsNode& node, int left, int top)
{
    node.SetLeft(left);
    node.SetTop(top);
}

// Records what PrintNode paints.
struct RecordingSurface : PrintSurface
{
    int lineWidth = -1;
    std::vector<std::pair<LinkLine, uint32_t>> lines;
    std::vector<LinkLine> boxes;
    std::vector<std::tuple<std::string, double, double>> texts;
    double x = 0, y = 0;
    double charWidth = 100, textHeight = 200;
    int yields = 0;
    int fonts = 0;

    void SetLineWidth(int pixels) override { lineWidth = pixels; }
    void Line(double x1, double y1, double x2, double y2, uint32_t c) override
    {
        lines.push_back({{x1, y1, x2, y2}, c});
    }
    void FilledBox(double x1, double y1, double x2, double y2, uint32_t colour) override
    {
        EXPECT_EQ(colour, kBoxFill);
        boxes.push_back({x1, y1, x2, y2});
    }
    void SetFont(const std::string& name, double size, bool bold) override
    {
        ++fonts;
        EXPECT_TRUE(name == "Verdana" && size == 10 && bold) << name << " " << size; // the printed labels' font
    }
    double TextWidth(const std::string& text) override
    {
        return charWidth * static_cast<double>(text.size());
    }
    double TextHeight(const std::string&) override { return textHeight; }
    void SetCurrentX(double value) override { x = value; }
    void SetCurrentY(double value) override { y = value; }
    void Print(const std::string& text) override { texts.emplace_back(text, x, y); }
    void Yield() override { ++yields; }
};

} // namespace

TEST(NodeCaption, HubRlmAndRcc)
{
    auto nodes = NumberedSite({0, 0});
    Place((*nodes)[0], 1000, 500);
    const CaptionLayout caption = NodeCaption((*nodes)[0], false);
    EXPECT_EQ(caption.text, "Radio\r\nHub");
    EXPECT_EQ(caption.left, 1090);
    EXPECT_EQ(NodeCaption((*nodes)[0], true).text, "RLM");
    Place((*nodes)[1], 300, 2000);
    EXPECT_EQ(NodeCaption((*nodes)[1], true).top, 2090);
}

TEST(NodeCaption, TheChannelQuickInfoNeedsBothChannelsAndTheHubShowsItsYChannels)
{
    auto nodes = NumberedSite({0, 0});
    clsNode& rcc = (*nodes)[1];
    rcc.SetX_ChannelA(33);
    EXPECT_FALSE(QuickInfoFor(rcc, 3, false).visible);
    rcc.SetX_ChannelB(3);
    EXPECT_EQ(QuickInfoFor(rcc, 3, false).caption, "F1:03");

    // The hub shows its Y channels unless it is an RLM.
    clsNode& hub = (*nodes)[0];
    hub.SetY_ChannelA(5);
    hub.SetY_ChannelB(32);
    hub.SetX_ChannelA(42);
    hub.SetX_ChannelB(1);
    EXPECT_EQ(QuickInfoFor(hub, 3, false).caption, "05:32");
    EXPECT_EQ(QuickInfoFor(hub, 3, true).caption, "F10:01");
}

TEST(NodeCaption, TheLoopAddressQuickInfoNeedsLoopAndAddress)
{
    auto nodes = NumberedSite({0, 0});
    clsNode& rcc = (*nodes)[1];
    EXPECT_FALSE(QuickInfoFor(rcc, 1, false).visible);
    rcc.SetNodeLoop(2);
    EXPECT_FALSE(QuickInfoFor(rcc, 1, false).visible) << "an address is needed too";
    rcc.SetNodeAddress(7);
    const QuickInfo info = QuickInfoFor(rcc, 1, false);
    EXPECT_TRUE(info.visible);
    EXPECT_EQ(info.caption, "L2/007");
}

TEST(NodeLink, StraightLinksAreColouredByTheHopChain)
{
    // 1 on the hub; 2..5 a chain under 1 (5 is five hops away); 6 has none.
    auto nodes = NumberedSite({0, 0, 1, 2, 3, 4, -1});
    for (int i = 0; i < 7; ++i)
        Place((*nodes)[i], 100 * i, 1000 * i);
    Link link = NodeLink((*nodes)[4], *nodes, 3);
    ASSERT_EQ(link.lines.size(), 1u);
    EXPECT_EQ(link.colour, kLinkColour);
    EXPECT_EQ(link.lines[0].y2, (*nodes)[3].CentreY());
    EXPECT_EQ(NodeLink((*nodes)[5], *nodes, 0).colour, kBrokenLinkColour);
    for (const auto& [n, mode] : {std::pair{0, 3}, {6, 3}, {1, 5}})
        EXPECT_TRUE(NodeLink((*nodes)[n], *nodes, mode).lines.empty()) << n;
}

TEST(NodeLink, ElbowLinksStopShortOfBothBoxesAndKeepThePen)
{
    auto nodes = NumberedSite({0, 0});
    Place((*nodes)[0], 1000, 100); // bottom 625
    Place((*nodes)[1], 300, 2000); // difference 1375, half 687.5
    const Link link = NodeLink((*nodes)[1], *nodes, 1);
    EXPECT_FALSE(link.setColour);
    ASSERT_EQ(link.lines.size(), 3u);
    const double mid = 2000 - 687.5;
    EXPECT_DOUBLE_EQ(link.lines[0].y1, 2000 - 40);
    EXPECT_DOUBLE_EQ(link.lines[1].y1, mid);
    EXPECT_DOUBLE_EQ(link.lines[1].x2, (*nodes)[0].CentreX());
    EXPECT_DOUBLE_EQ(link.lines[2].y2, 625 + 40);
}

TEST(NodeLink, ElbowsBetweenBoxesAtTheEndsOfTheLongRangeDoNotOverflow)
{
    auto nodes = NumberedSite({0, 0});
    Place((*nodes)[0], 1000, 100);
    Place((*nodes)[1], 300, 2000);
    (*nodes)[0].SetTop(std::numeric_limits<int32_t>::max() - 525);
    (*nodes)[1].SetTop(std::numeric_limits<int32_t>::min());
    const Link far = NodeLink((*nodes)[1], *nodes, 1);
    ASSERT_EQ(far.lines.size(), 3u);
    EXPECT_TRUE(far.lines[1].y1 < 0 && far.lines[1].y1 > std::numeric_limits<int32_t>::min());
}

TEST(PrintNode, AnRccIsAnOctagonWithItsNumberCentred)
{
    auto nodes = NumberedSite({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    clsNode& rcc = (*nodes)[11];
    Place(rcc, 1000, 2000);
    RecordingSurface surface;
    PrintNode(rcc, false, surface, *nodes, 2);
    EXPECT_EQ(surface.lineWidth, 2);
    ASSERT_EQ(surface.boxes.size(), 2u);
    ASSERT_EQ(surface.lines.size(), 8u);
    // The outline closes where it started.
    EXPECT_EQ(surface.lines.back().first.x2, 1040);
    EXPECT_EQ(surface.lines.back().first.y2, 2000);
    ASSERT_EQ(surface.texts.size(), 1u);
    EXPECT_EQ(surface.texts[0],
              std::make_tuple(std::string("11"), rcc.CentreX() - 100.0, rcc.CentreY() - 100.0));
    EXPECT_GE(surface.fonts, 1) << "the number is printed in its own font";
    EXPECT_EQ(surface.yields, 1);
}

TEST(PrintNode, LinksAreStraightAndNodesNotInUsePaintNothing)
{
    auto nodes = NumberedSite({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    clsNode& rcc = (*nodes)[11];
    Place(rcc, 1000, 2000);
    RecordingSurface link;
    PrintNode(rcc, true, link, *nodes, 3);
    ASSERT_EQ(link.lines.size(), 1u);
    EXPECT_EQ(link.lines[0].second, kLinkColour);
    EXPECT_TRUE(link.boxes.empty());
    RecordingSurface unused;
    PrintNode((*nodes)[20], false, unused, *nodes, 4);
    EXPECT_TRUE(unused.lines.empty() && unused.boxes.empty());
}

TEST(PrintNode, TheHubPrintsTwoLinesOneOrNone)
{
    auto nodes = NumberedSite({0});
    clsNode& hub = (*nodes)[0];
    RecordingSurface two;
    PrintNode(hub, false, two, *nodes, 1);
    ASSERT_EQ(two.texts.size(), 2u);
    EXPECT_DOUBLE_EQ(std::get<2>(two.texts[0]), hub.CentreY() - 200);
    EXPECT_EQ(std::get<0>(two.texts[1]), "Hub");

    RecordingSurface one;
    one.textHeight = 300; // two lines (600) exceed 515
    PrintNode(hub, false, one, *nodes, 1);
    ASSERT_EQ(one.texts.size(), 1u);
    EXPECT_EQ(std::get<0>(one.texts[0]), "Hub");

    RecordingSurface none;
    none.charWidth = 200; // "Radio" 1000 wide exceeds 860
    PrintNode(hub, false, none, *nodes, 1);
    EXPECT_TRUE(none.texts.empty());
}
