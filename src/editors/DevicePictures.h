#pragma once
// The device window's pictures, drawn for the program at run time: one per
// palette item (the slot of a device shows its item's picture), the drag
// icons that follow the mouse while an item is dragged onto a slot.
#include <QPixmap>

namespace editors {

inline constexpr int kDevicePictureSize = 40; // pixels
inline constexpr int kDragIconSize = 32;

// Palette item 0..9 (null pixmap for any other).
QPixmap DevicePicture(int item);
QPixmap DeviceDragIcon(int item);

} // namespace editors
