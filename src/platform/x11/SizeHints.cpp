#include "platform/x11/SizeHints.h"

#include <algorithm>
#include <cmath>

namespace platform::x11 {

namespace {

double fitLength(double wanted, std::optional<double> minimum, std::optional<double> maximum,
                 std::optional<double> base, std::optional<double> increment) {
    // ICCCM: each of base and minimum stands in for the other when missing.
    const double low = std::max(1.0, minimum.value_or(base.value_or(1.0)));
    const double from = base.value_or(minimum.value_or(0.0));
    double length = std::max(wanted, low);
    if (maximum && *maximum >= low) length = std::min(length, *maximum);
    if (increment && *increment > 1) {
        length = from + std::floor((length - from) / *increment) * *increment;
        if (length < low) length += *increment;
    }
    return length;
}

// Within this distance a slot edge counts as lying on the edge of the usable area (window gaps).
constexpr double edgeTolerance = 20;

double alignAxis(double slotMin, double slotLength, double length, double areaMin, double areaMax) {
    double origin = slotMin;
    if (length != slotLength) {
        const double before = std::abs(slotMin - areaMin);
        const double after = std::abs(areaMax - (slotMin + slotLength));
        const double end = slotMin + slotLength - length;
        // A slot spanning the whole axis keeps its start (the title bar stays where it was put).
        if (before <= edgeTolerance) origin = slotMin;
        else if (after <= edgeTolerance || after < before) origin = end;
        else if (after == before) origin = slotMin + std::floor((slotLength - length) / 2);
    }
    if (origin + length > areaMax) origin = areaMax - length;
    if (origin < areaMin) origin = areaMin;
    return origin;
}

template <typename Get>
std::optional<double> part(const std::optional<Size>& size, Get get) {
    if (!size) return std::nullopt;
    return get(*size);
}

} // namespace

Size fitClientSize(const SizeHints& hints, Size wanted) {
    auto w = [](const Size& s) { return s.width; };
    auto h = [](const Size& s) { return s.height; };
    return {fitLength(wanted.width, part(hints.minimum, w), part(hints.maximum, w), part(hints.base, w), part(hints.increment, w)),
            fitLength(wanted.height, part(hints.minimum, h), part(hints.maximum, h), part(hints.base, h), part(hints.increment, h))};
}

Rect alignInSlot(const Rect& slot, Size size, const Rect& usable) {
    return {alignAxis(slot.minX(), slot.width(), size.width, usable.minX(), usable.maxX()),
            alignAxis(slot.minY(), slot.height(), size.height, usable.minY(), usable.maxY()), size.width, size.height};
}

} // namespace platform::x11
