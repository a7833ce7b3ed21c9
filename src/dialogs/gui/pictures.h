#pragma once
// Pictures of the small dialogs, drawn from the program's own SVG images.

#include <QPixmap>
#include <QString>

namespace varkel {

// The image at a resource path (":/icons/varkel.svg") drawn size x size
// logical pixels for a screen of the given pixel ratio.
QPixmap SvgPicture(const QString &resource, int size, qreal devicePixelRatio);

} // namespace varkel
