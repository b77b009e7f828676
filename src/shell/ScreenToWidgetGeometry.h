#pragma once

#include "platform/Geometry.h"

#include <QRect>

#include <functional>
#include <optional>

namespace zentaris {

// Where the desktop's geometry meets Qt's. The desktop gives rectangles in screen coordinates:
// device pixels, origin at the bottom left of the primary monitor, y upwards. Qt places windows
// in logical pixels, top-left origin; with scaling on (QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS)
// it keeps each screen's top-left corner where the device puts it and divides what lies beyond
// by that screen's pixel ratio.

// Where the desktop backend's primary monitor lies on the device (top-left origin, device pixels):
// the monitor whose bottom-left corner is the origin of screen coordinates. Qt has its own idea of
// the primary screen when no monitor is marked as such, so the backend that counts screen
// coordinates says which one it means; until one is installed, Qt's primary screen stands in.
using PrimaryMonitorQuery = std::function<std::optional<platform::Rect>()>;
void installPrimaryMonitorQuery(PrimaryMonitorQuery query);

// The Qt rectangle that covers `frame` on the device.
QRect qtRectFromScreen(const platform::Rect& frame);

// A rectangle of `frame`'s size in Qt's own units, centred where `frame`'s centre lies on the
// device: for panels whose size is the size of the view they hold.
QRect qtRectCentredOnScreenFrame(const platform::Rect& frame);

} // namespace zentaris
