#pragma once
// How a node looks on the site canvas and on a printed page: the box, the
// caption and the quick-info label of each node, and the link from an RCC to
// its parent. Everything is in twips; colours are 0x00BBGGRR values. The
// canvas controls apply what these functions compute; PrintNode paints on any
// surface that offers lines, filled boxes and text.
#include "model/clsNode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace model {

inline constexpr uint32_t kBoxFill = 0xFFFFC0;
inline constexpr uint32_t kLinkColour = 0xFF7F00;       // hop count 0..4
inline constexpr uint32_t kBrokenLinkColour = 0x0000FF; // broken or too long hop chain
inline constexpr int kLinkLineWidth = 3;                // pixels
inline constexpr int kQuickInfoAbove = 230;             // label top above the box

// Box size on the canvas: the hub 870 x 525, an RCC 450 x 420.
int BoxWidth(const clsNode& node);
int BoxHeight(const clsNode& node);

struct CaptionLayout
{
    int32_t left = 0;
    int32_t top = 0;
    int width = 0; // 0: the caption keeps its own width
    std::string text;
};

// The caption of a node's box: "Radio" CR LF "Hub" (or "RLM" on a
// loop-interface site) for node 0, the node number for an RCC.
CaptionLayout NodeCaption(const clsNode& node, bool isLoopInterface);

// A channel index as the quick-info label writes it: "05", "32", "F1".."F10".
std::string ChannelText(int channel);

struct QuickInfo
{
    bool keepCaption = false; // mode 4 or more: caption unchanged, visible
    bool visible = false;
    std::string caption;
};

// The quick-info label of a node in mode 0 (none), 1 (loop/address),
// 2 (ident) or 3 (radio channels).
QuickInfo QuickInfoFor(const clsNode& node, int mode, bool isLoopInterface);

struct LinkLine
{
    double x1, y1, x2, y2;
};

struct Link
{
    bool setColour = false; // straight links set the pen colour first
    uint32_t colour = 0;
    std::vector<LinkLine> lines;
};

// The link from an RCC to its parent in the site's link style: 1 an elbow of
// three lines in the pen's current colour; 0, 2, 3 one straight line whose
// colour tells whether the hop chain is valid; any other style, the hub and a
// node without parent give no lines.
Link NodeLink(const clsNode& node, const NodeArray& nodes, int linkStyle);

// A printer-like drawing surface: lines, filled boxes, text at the current
// position and text measuring, in twips.
class PrintSurface
{
public:
    virtual ~PrintSurface() = default;
    virtual void SetLineWidth(int pixels) = 0;
    virtual void Line(double x1, double y1, double x2, double y2, uint32_t colour) = 0;
    virtual void FilledBox(double x1, double y1, double x2, double y2, uint32_t colour) = 0;
    virtual void SetFont(const std::string& name, double size, bool bold) = 0;
    virtual double TextWidth(const std::string& text) = 0;
    virtual double TextHeight(const std::string& text) = 0;
    virtual void SetCurrentX(double x) = 0;
    virtual void SetCurrentY(double y) = 0;
    // Prints text in black with its top-left corner at the current position.
    virtual void Print(const std::string& text) = 0;
    // Lets the program's other work run once.
    virtual void Yield() {}
};

// Paints the node (ShowLinks False) or its link to the parent (ShowLinks
// True, always straight) on a surface. A node not in use paints nothing.
void PrintNode(const clsNode& node, bool showLinks, PrintSurface& surface, const NodeArray& nodes,
               int lineWidth);

} // namespace model
