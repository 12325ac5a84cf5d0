#include "platform/base/WindowFit.h"

#include <algorithm>

namespace platform {

void FitOnScreen(long& place, long& extent, long minimum, long desktopExtent, long freeStart, long freeExtent)
{
    extent = std::max(std::min(extent, freeExtent), minimum);
    if (place + extent > desktopExtent)
        place = desktopExtent - extent - 300;
    // The far edge comes inside first, then the near one, which wins.
    place = std::min(place, freeStart + freeExtent - extent);
    place = std::max(place, freeStart);
}

} // namespace platform
