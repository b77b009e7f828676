#include "layout/PreviewService.h"

#include "layout/SlotGeometry.h"

namespace zentaris {

platform::Rect PreviewService::dropZoneFrame(platform::Point point, const platform::Rect& usable) const {
    return dropZoneFor(point, usable);
}

platform::Rect dropZoneFor(platform::Point p, const platform::Rect& f) {
    using namespace namedSlots;
    const double x = f.minX(), y = f.minY(), w = f.width(), h = f.height();
    const double cornerW = 0.25 * w, cornerH = 0.25 * h;

    const bool nearLeft = p.x < x + cornerW, nearRight = p.x > f.maxX() - cornerW;
    const bool nearTop = p.y > f.maxY() - cornerH, nearBottom = p.y < y + cornerH;
    if (nearLeft && nearTop) return topLeftQuarter(f);
    if (nearRight && nearTop) return topRightQuarter(f);
    if (nearLeft && nearBottom) return bottomLeftQuarter(f);
    if (nearRight && nearBottom) return bottomRightQuarter(f);

    if (p.x < x + 0.15 * w) return column(f, 0, 0.25);
    if (p.x > f.maxX() - 0.15 * w) return column(f, 0.75, 0.25);
    if (p.y > f.maxY() - 0.15 * h) return topHalf(f);
    if (p.y < y + 0.15 * h) return bottomHalf(f);

    // A fixed-size box, whatever the screen.
    const auto c = f.center();
    if (c.x - 60 < p.x && p.x < c.x + 60 && c.y - 60 < p.y && p.y < c.y + 60) return f;

    const double left = x + 0.41 * w, right = f.maxX() - 0.41 * w;
    if (left < p.x && p.x < right) return column(f, 0.25, 0.5);
    if (right <= p.x && p.x < right + 0.1 * w) return column(f, 0.3, 0.7);
    if (right + 0.1 * w <= p.x && p.x < right + 0.2 * w) return rightHalf(f);
    if (right + 0.2 * w <= p.x && p.x < f.maxX() - 0.15 * w) return column(f, 0.7, 0.3);
    if (left - 0.1 * w < p.x && p.x <= left) return column(f, 0, 0.7);
    if (left - 0.2 * w < p.x && p.x <= left - 0.1 * w) return leftHalf(f);
    if (x + 0.15 * w < p.x && p.x <= left - 0.2 * w) return column(f, 0, 0.3);

    // Only the exact edges of the side bands get here.
    return p.x < x + w / 2 ? leftHalf(f) : rightHalf(f);
}

} // namespace zentaris
