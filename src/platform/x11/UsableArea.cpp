#include "platform/x11/UsableArea.h"

#include "platform/x11/GeometryLimits.h"

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

// One reserved edge: the band along the root's edge and where, towards the inside, it ends.
enum class Side { left, right, top, bottom };
struct Edge {
    Side side;
    double reserved;
    Rect band;
};

std::vector<Edge> edgesOf(const Strut& s, Size root) {
    std::vector<Edge> edges;
    if (s.left > 0) edges.push_back({Side::left, s.left, {0, s.leftStartY, s.left, s.leftEndY - s.leftStartY + 1}});
    if (s.right > 0)
        edges.push_back({Side::right, s.right, {root.width - s.right, s.rightStartY, s.right, s.rightEndY - s.rightStartY + 1}});
    if (s.top > 0) edges.push_back({Side::top, s.top, {s.topStartX, 0, s.topEndX - s.topStartX + 1, s.top}});
    if (s.bottom > 0)
        edges.push_back(
            {Side::bottom, s.bottom, {s.bottomStartX, root.height - s.bottom, s.bottomEndX - s.bottomStartX + 1, s.bottom}});
    return edges;
}

bool overlaps(const Rect& band, const Rect& monitor) {
    return band.width() > 0 && band.height() > 0 && intersection(band, monitor).width() > 0;
}

// How far into the monitor the edge ends: 0 when its band misses the monitor, above the monitor's
// extent when the band covers it wholly.
double depthInto(const Edge& e, const Rect& m) {
    if (!overlaps(e.band, m)) return 0;
    switch (e.side) {
    case Side::left: return e.band.maxX() - m.minX();
    case Side::right: return m.maxX() - e.band.minX();
    case Side::top: return e.band.maxY() - m.minY();
    case Side::bottom: return m.maxY() - e.band.minY();
    }
    return 0;
}

double extentAlong(Side side, const Rect& m) { return side == Side::left || side == Side::right ? m.width() : m.height(); }

bool endsOn(const Edge& e, const Rect& m) {
    const double depth = depthInto(e, m);
    return depth > 0 && depth <= extentAlong(e.side, m) * maxReservedShare;
}

} // namespace

Rect usableArea(const Rect& monitor, const std::vector<Strut>& struts, Size root) {
    double x0 = monitor.minX(), y0 = monitor.minY(), x1 = monitor.maxX(), y1 = monitor.maxY();
    for (const auto& s : struts) {
        for (const auto& e : edgesOf(s, root)) {
            if (!endsOn(e, monitor)) continue;
            const double depth = depthInto(e, monitor);
            switch (e.side) {
            case Side::left: x0 = std::max(x0, monitor.minX() + depth); break;
            case Side::right: x1 = std::min(x1, monitor.maxX() - depth); break;
            case Side::top: y0 = std::max(y0, monitor.minY() + depth); break;
            case Side::bottom: y1 = std::min(y1, monitor.maxY() - depth); break;
            }
        }
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

bool strutFitsMonitors(const Strut& strut, const std::vector<Rect>& monitors, Size root) {
    for (const auto& e : edgesOf(strut, root)) {
        if (std::none_of(monitors.begin(), monitors.end(), [&](const Rect& m) { return endsOn(e, m); })) return false;
    }
    return true;
}

std::vector<Rect> workareasFromValues(const std::vector<std::uint32_t>& values, Size root) {
    std::vector<Rect> areas;
    const Rect whole(0, 0, root.width, root.height);
    for (std::size_t i = 0; i + 3 < values.size(); i += 4) {
        const Rect area(values[i], values[i + 1], values[i + 2], values[i + 3]);
        if (area.width() > 0 && area.height() > 0 && intersection(area, whole) == area) areas.push_back(area);
    }
    return areas;
}

bool isPlausibleUsableArea(const Rect& u, const Rect& m) {
    const double maxX = m.width() * maxReservedShare, maxY = m.height() * maxReservedShare;
    return u.minX() >= m.minX() && u.minY() >= m.minY() && u.maxX() <= m.maxX() && u.maxY() <= m.maxY() &&
           u.minX() - m.minX() <= maxX && m.maxX() - u.maxX() <= maxX && u.minY() - m.minY() <= maxY &&
           m.maxY() - u.maxY() <= maxY;
}

std::optional<Rect> workareaOfDesktop(const std::vector<std::uint32_t>& values, std::uint32_t desktop,
                                      std::optional<std::uint32_t> desktops, Size root) {
    if (values.size() % 4 != 0 || (desktops && values.size() / 4 != *desktops) || desktop >= values.size() / 4)
        return std::nullopt;
    const auto first = values.begin() + static_cast<std::ptrdiff_t>(desktop) * 4;
    const auto areas = workareasFromValues({first, first + 4}, root);
    if (areas.empty()) return std::nullopt;
    return areas.front();
}

Rect narrowedByWorkarea(const Rect& usable, const Rect& monitor, const std::optional<Rect>& workarea) {
    if (!workarea || !isPlausibleUsableArea(*workarea, monitor)) return usable;
    // Both lie inside the monitor and leave out at most a quarter of it on each side: so does this.
    return intersection(usable, *workarea);
}

std::optional<Rect> workareaOfMonitor(const Rect& monitor, const std::vector<Rect>& workareas) {
    std::optional<Rect> best;
    double bestArea = 0;
    for (const auto& area : workareas) {
        const Rect common = intersection(area, monitor);
        const double size = common.width() * common.height();
        if (size > bestArea) {
            best = common;
            bestArea = size;
        }
    }
    if (!best || !isPlausibleUsableArea(*best, monitor)) return std::nullopt;
    return best;
}

} // namespace platform::x11
