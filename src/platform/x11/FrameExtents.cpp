#include "platform/x11/FrameExtents.h"

#include "platform/x11/GeometryLimits.h"

#include <algorithm>

namespace platform::x11 {

namespace {
std::optional<FrameExtents> withinMonitorShare(const FrameExtents& e, Size monitor) {
    const double maxWidth = monitor.width * maxReservedShare, maxHeight = monitor.height * maxReservedShare;
    if (e.left > maxWidth || e.right > maxWidth || e.top > maxHeight || e.bottom > maxHeight) return std::nullopt;
    return e;
}
} // namespace

bool hasTitleBar(const FrameExtents& d) { return d.top > std::max({d.left, d.right, d.bottom, 0.0}); }

std::optional<FrameExtents> plausibleFrameExtents(const std::vector<std::uint32_t>& values, Size monitor) {
    if (values.size() < 4) return std::nullopt;
    return withinMonitorShare({double(values[0]), double(values[1]), double(values[2]), double(values[3])}, monitor);
}

std::optional<FrameExtents> extentsAround(const Rect& client, const Rect& frame, Size monitor) {
    const FrameExtents e{client.minX() - frame.minX(), frame.maxX() - client.maxX(), client.minY() - frame.minY(),
                         frame.maxY() - client.maxY()};
    if (!(e.left >= 0 && e.right >= 0 && e.top >= 0 && e.bottom >= 0)) return std::nullopt;
    return withinMonitorShare(e, monitor);
}

bool frameBearsOut(const FrameExtents& declared, const Rect& client, const Rect& frame) {
    return declared.top == client.minY() - frame.minY() && declared.left <= client.minX() - frame.minX();
}

std::optional<ProtocolRect> clientRequestFor(const Rect& target, const FrameExtents& d, const FrameExtents& s, double border) {
    const auto x = protocolCoordinate(target.minX() - s.left);
    const auto y = protocolCoordinate(target.minY() - s.top);
    const auto width = protocolLength(std::max(1.0, target.width() - d.left - d.right + s.left + s.right - 2 * border));
    const auto height = protocolLength(std::max(1.0, target.height() - d.top - d.bottom + s.top + s.bottom - 2 * border));
    if (!x || !y || !width || !height) return std::nullopt;
    return ProtocolRect{*x, *y, *width, *height};
}

} // namespace platform::x11
