#pragma once
// Where the tree view and the statistics window open, and what they keep of
// it: the stored rectangle (twips, settings.ini) moved back on screen, and
// the window's size limits.
#include <QWidget>
#include <cstdint>

namespace views {

struct StoredRectangle
{
    int32_t& top;
    int32_t& left;
    int32_t& width;
    int32_t& height;
};

// Places the window on its stored rectangle, kept on screen, and installs
// the size limits (minimum in twips).
void OpenOnStoredRectangle(QWidget& window, const StoredRectangle& stored, long minWidth, long minHeight);

// Places a control as designed (twips); a control never gets lower than its
// text needs.
void PlaceInTwips(QWidget* control, long left, long top, long width, long height);

// Stores the rectangle as whole twips when the window is neither minimised
// nor maximised, and takes the size limits off again.
void StoreRectangleOnClose(QWidget& window, const StoredRectangle& stored);

} // namespace views
