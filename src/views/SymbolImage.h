#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

#include <filesystem>
#include <string>

namespace zentaris {

// Our own monochrome icons, one SVG per symbol name ("rectangle.split.2x1", "gearshape", ...),
// drawn in the colour asked for.
std::filesystem::path symbolPath(const std::string& name);

// The symbol drawn into a square of `side` pixels; a null pixmap for an unknown name.
QPixmap symbolPixmap(const std::string& name, int side, const QColor& color, qreal devicePixelRatio = 1.0);

// The symbol at the sizes menus and buttons use; a null icon for an unknown name.
QIcon symbolIcon(const std::string& name, const QColor& color);

} // namespace zentaris
