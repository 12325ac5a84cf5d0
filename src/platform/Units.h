#pragma once
// Canvas and window geometry is kept in twips (15 per logical pixel at
// 96 dpi) and colours as 0x00BBGGRR values; both convert here only.
#include <QColor>
#include <cstdint>

namespace platform {

constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest pixel, a half to the even one.
int TwipsToPixels(long twips);
long PixelsToTwips(int pixels);
// A twips value that may hold a fraction (a centre, a half width), rounded to
// the nearest pixel.
int PixelsFromTwips(double twips);

QColor ColourFromBGR(std::uint32_t bgr);
std::uint32_t BGRFromColour(const QColor& colour);

} // namespace platform
