#include "platform/x11/UsableArea.h"

#include <algorithm>

namespace platform::x11 {

Strut Strut::fromValues(const std::vector<std::uint32_t>& v, Size root) {
    Strut s;
    if (v.size() < 4) return s;
    s.left = v[0];
    s.right = v[1];
    s.top = v[2];
    s.bottom = v[3];
    if (v.size() >= 12) {
        s.leftStartY = v[4], s.leftEndY = v[5], s.rightStartY = v[6], s.rightEndY = v[7];
        s.topStartX = v[8], s.topEndX = v[9], s.bottomStartX = v[10], s.bottomEndX = v[11];
    } else {
        s.leftEndY = s.rightEndY = root.height - 1;
        s.topEndX = s.bottomEndX = root.width - 1;
    }
    return s;
}

Rect intersection(const Rect& a, const Rect& b) {
    const double x0 = std::max(a.minX(), b.minX()), x1 = std::min(a.maxX(), b.maxX());
    const double y0 = std::max(a.minY(), b.minY()), y1 = std::min(a.maxY(), b.maxY());
    if (x1 <= x0 || y1 <= y0) return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

namespace {
bool overlaps(const Rect& band, const Rect& monitor) {
    return band.width() > 0 && band.height() > 0 && intersection(band, monitor).width() > 0;
}
} // namespace

Rect usableArea(const Rect& monitor, const std::vector<Strut>& struts, Size root) {
    double x0 = monitor.minX(), y0 = monitor.minY(), x1 = monitor.maxX(), y1 = monitor.maxY();
    for (const auto& s : struts) {
        if (overlaps({0, s.leftStartY, s.left, s.leftEndY - s.leftStartY + 1}, monitor)) x0 = std::max(x0, s.left);
        if (overlaps({root.width - s.right, s.rightStartY, s.right, s.rightEndY - s.rightStartY + 1}, monitor))
            x1 = std::min(x1, root.width - s.right);
        if (overlaps({s.topStartX, 0, s.topEndX - s.topStartX + 1, s.top}, monitor)) y0 = std::max(y0, s.top);
        if (overlaps({s.bottomStartX, root.height - s.bottom, s.bottomEndX - s.bottomStartX + 1, s.bottom}, monitor))
            y1 = std::min(y1, root.height - s.bottom);
    }
    // A strut larger than the monitor leaves nothing; keep a valid, empty rectangle at its edge.
    return {x0, y0, std::max(0.0, x1 - x0), std::max(0.0, y1 - y0)};
}

Rect workareaOfMonitor(const Rect& monitor, const std::vector<Rect>& workareas) {
    Rect best = monitor;
    double bestArea = 0;
    for (const auto& area : workareas) {
        const Rect common = intersection(area, monitor);
        const double size = common.width() * common.height();
        if (size > bestArea) {
            best = common;
            bestArea = size;
        }
    }
    return best;
}

} // namespace platform::x11
