#pragma once
// Helpers shared by the parts of the main window's implementation.
#include "model/Site.h"
#include "platform/Units.h"

#include <QString>

#include <cstddef>
#include <string>

using model::Nodes;
using platform::PixelsToTwips;
using platform::TwipsToPixels;

namespace {

// Twips the window's frame, menu bar and status bar take from its height.
constexpr long kFrameHeight = 1220;
constexpr long kToolbarHeight = 450;
constexpr int kNodeCount = model::kNodeCount;

model::clsNode& NodeAt(int i)
{
    return Nodes[static_cast<std::size_t>(i)];
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// Menu item and toolbar button of each quick-info mode 0..3.
constexpr const char* kQuickInfoItems[] = {"NoQuick", "LA_Quick", "Ident_Quick", "QuickChannels"};
constexpr const char* kQuickInfoButtons[] = {"NoQI", "LoopQI", "IdentQI", "Radio"};

} // namespace
