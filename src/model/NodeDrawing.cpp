#include "model/NodeDrawing.h"

#include <initializer_list>
#include <string_view>

namespace model {

namespace {

constexpr int kHubBoxWidth = 870;
constexpr int kHubBoxHeight = 525;
constexpr int kRccBoxWidth = 450;
constexpr int kRccBoxHeight = 420;
constexpr double kLinkGap = 40; // links stop this far short of both boxes
constexpr int kTreeDepth = 10;
constexpr int kMaxHops = 4;

// The parts one after the other (built by appending, which the optimiser
// handles better than a chain of "+").
std::string Join(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (std::string_view part : parts)
        text.append(part);
    return text;
}

// value with leading zeros to at least width digits.
std::string WithLeadingZeros(int value, std::size_t width)
{
    const std::string text = std::to_string(value);
    if (text.size() >= width)
        return text;
    std::string padded(width - text.size(), '0');
    padded.append(text);
    return padded;
}

uint32_t LinkColourOf(const clsNode& node, const NodeArray& nodes)
{
    const int hop = node.Hop(nodes, kTreeDepth);
    return hop >= 0 && hop <= kMaxHops ? kLinkColour : kBrokenLinkColour;
}

bool HasLink(const clsNode& node)
{
    return node.NodeNumber() != 0 && node.Parent() >= 0;
}

} // namespace

int BoxWidth(const clsNode& node)
{
    return node.NodeNumber() == 0 ? kHubBoxWidth : kRccBoxWidth;
}

int BoxHeight(const clsNode& node)
{
    return node.NodeNumber() == 0 ? kHubBoxHeight : kRccBoxHeight;
}

CaptionLayout NodeCaption(const clsNode& node, bool isLoopInterface)
{
    CaptionLayout caption;
    caption.left = node.Left() + 90;
    if (node.NodeNumber() == 0) {
        caption.width = 700;
        if (isLoopInterface) {
            caption.top = node.Top() + 80;
            caption.text = "RLM";
        } else {
            caption.top = node.Top() + 30;
            caption.text = "Radio\r\nHub";
        }
    } else {
        caption.top = node.Top() + 90;
        caption.text = std::to_string(node.NodeNumber());
    }
    return caption;
}

std::string ChannelText(int channel)
{
    if (channel <= 32)
        return WithLeadingZeros(channel, 2);
    return Join({"F", std::to_string(channel - 32)});
}

QuickInfo QuickInfoFor(const clsNode& node, int mode, bool isLoopInterface)
{
    QuickInfo info;
    switch (mode) {
    case 0:
        break;
    case 1:
        if (node.NodeLoop() != -1 && node.NodeAddress() != -1) {
            info.visible = true;
            info.caption =
                Join({"L", std::to_string(node.NodeLoop()), "/", WithLeadingZeros(node.NodeAddress(), 3)});
        }
        break;
    case 2:
        info.visible = !node.NodeIdent().empty();
        info.caption = node.NodeIdent();
        break;
    case 3: {
        const bool hubChannels = node.NodeNumber() == 0 && !isLoopInterface;
        const int a = hubChannels ? node.Y_ChannelA() : node.X_ChannelA();
        const int b = hubChannels ? node.Y_ChannelB() : node.X_ChannelB();
        if (a != -1 && b != -1) {
            info.visible = true;
            info.caption = Join({ChannelText(a), ":", ChannelText(b)});
        }
        break;
    }
    default:
        info.keepCaption = true;
        info.visible = true;
        break;
    }
    return info;
}

Link NodeLink(const clsNode& node, const NodeArray& nodes, int linkStyle)
{
    Link link;
    if (!HasLink(node))
        return link;
    const clsNode& parent = nodes[static_cast<std::size_t>(node.Parent())];
    if (linkStyle == 1) {
        // The difference is a 16-bit value; its half may end in .5.
        const auto difference = static_cast<int16_t>(node.Top() - parent.Bottom());
        const double mid = node.Top() - difference / 2.0;
        const double x = node.CentreX();
        const double px = parent.CentreX();
        link.lines.push_back({x, node.Top() - kLinkGap, x, mid});
        link.lines.push_back({x, mid, px, mid});
        link.lines.push_back({px, mid, px, parent.Bottom() + kLinkGap});
    } else if (linkStyle == 0 || linkStyle == 2 || linkStyle == 3) {
        link.setColour = true;
        link.colour = LinkColourOf(node, nodes);
        link.lines.push_back({static_cast<double>(node.CentreX()), static_cast<double>(node.CentreY()),
                              static_cast<double>(parent.CentreX()), static_cast<double>(parent.CentreY())});
    }
    return link;
}

namespace {

void PrintOctagon(const clsNode& node, PrintSurface& surface, double w, double h)
{
    const double left = node.Left();
    const double top = node.Top();
    surface.FilledBox(left + 25, top + 20, left + w - 25, top + h - 20, kBoxFill);
    surface.FilledBox(left + 5, top + 50, left + w - 5, top + h - 35, kBoxFill);
    const double steps[8][2] = {{w - 80, 0}, {40, 40},   {0, h - 80}, {-40, 40},
                                {80 - w, 0}, {-40, -40}, {0, 80 - h}, {40, -40}};
    double x = left + 40;
    double y = top;
    for (const auto& step : steps) {
        surface.Line(x, y, x + step[0], y + step[1], 0);
        x += step[0];
        y += step[1];
    }
}

void PrintCentred(PrintSurface& surface, const std::string& text, double centreX, double top)
{
    surface.SetCurrentX(centreX - surface.TextWidth(text) / 2);
    surface.SetCurrentY(top);
    surface.Print(text);
}

void PrintCaption(const clsNode& node, PrintSurface& surface, double w, double h)
{
    surface.SetFont("Verdana", 10, true);
    const double cx = node.CentreX();
    const double cy = node.CentreY();
    if (node.NodeNumber() != 0) {
        const std::string number = std::to_string(node.NodeNumber());
        if (surface.TextWidth(number) <= w && surface.TextHeight(number) <= h)
            PrintCentred(surface, number, cx, cy - surface.TextHeight(number) / 2);
        return;
    }
    const double lineHeight = surface.TextHeight("Radio");
    if (2 * lineHeight <= h) {
        if (surface.TextWidth("Radio") <= w) {
            PrintCentred(surface, "Radio", cx, cy - lineHeight);
            PrintCentred(surface, "Hub", cx, cy);
        }
    } else if (surface.TextHeight("Hub") <= h && surface.TextWidth("Hub") <= w) {
        PrintCentred(surface, "Hub", cx, cy - surface.TextHeight("Hub") / 2);
    }
}

} // namespace

void PrintNode(const clsNode& node, bool showLinks, PrintSurface& surface, const NodeArray& nodes,
               int lineWidth)
{
    surface.SetLineWidth(lineWidth);
    if (!node.InUse())
        return;
    if (showLinks) {
        if (HasLink(node)) {
            const clsNode& parent = nodes[static_cast<std::size_t>(node.Parent())];
            surface.Line(node.CentreX(), node.CentreY(), parent.CentreX(), parent.CentreY(),
                         LinkColourOf(node, nodes));
        }
    } else {
        const double w = node.NodeNumber() == 0 ? 860 : 440;
        const double h = node.NodeNumber() == 0 ? 515 : 405;
        PrintOctagon(node, surface, w, h);
        PrintCaption(node, surface, w, h);
    }
    surface.Yield();
}

} // namespace model
