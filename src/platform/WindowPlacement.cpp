#include "platform/WindowPlacement.h"

namespace platform {

void CentreOver(QWidget& window, const QWidget& over)
{
    window.move(over.frameGeometry().center() - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace platform
