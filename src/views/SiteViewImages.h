#pragma once
// The image list of the tree view and the statistics window, drawn for the
// program at run time: 32 x 32 pictures under the keys "Node", "Optical",
// "Multi", "IOUnit", "Callpoint", "Heat", "HHeat", "Sounder", "Beacon",
// "Combo", "ComboBeacon" and "Loop".
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace views {

// Every key, in the list's order.
const QStringList& SiteViewImageKeys();

// The picture of a key; a null pixmap for the empty or an unknown key.
QPixmap SiteViewImage(const QString& key);

} // namespace views
