#include "platform/Units.h"

#include "platform/base/Rounding.h"

namespace platform {

int TwipsToPixels(long twips)
{
    return static_cast<int>(RoundHalfEven(static_cast<double>(twips) / kTwipsPerPixel));
}

int PixelsFromTwips(double twips)
{
    return static_cast<int>(RoundHalfEven(twips / kTwipsPerPixel));
}

long PixelsToTwips(int pixels)
{
    return static_cast<long>(pixels) * kTwipsPerPixel;
}

QColor ColourFromBGR(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t BGRFromColour(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

} // namespace platform
