#pragma once

#include <QIcon>
#include <QString>

namespace zentaris {

// The "MenuBarIcon" image drawn from resources/images/MenuBarIcon.svg: as drawn when coloured,
// or as a template, every pixel in `templateColor` with the drawing's own opacity.
QIcon statusIconImage(const QString& svgPath, bool templateImage, const QColor& templateColor);

// A plain grid, for when the image is missing.
QIcon fallbackGridIcon(const QColor& color);

} // namespace zentaris
