#include "platform/x11/SizeHints.h"

#include "platform/x11/GeometryLimits.h"

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

// ICCCM flags of WM_NORMAL_HINTS (program-specified parts).
constexpr std::uint32_t minSizeFlag = 1u << 4;
constexpr std::uint32_t maxSizeFlag = 1u << 5;
constexpr std::uint32_t incrementFlag = 1u << 6;
constexpr std::uint32_t baseSizeFlag = 1u << 8;

std::optional<Size> pairAt(const std::vector<std::uint32_t>& v, std::size_t at, std::uint32_t flag) {
    if (!(v[0] & flag) || v.size() < at + 2) return std::nullopt;
    // The fields are signed 32-bit numbers.
    return Size{double(static_cast<std::int32_t>(v[at])), double(static_cast<std::int32_t>(v[at + 1]))};
}

// Whether both sides lie within [low, high].
bool within(const Size& s, double low, Size high) {
    return s.width >= low && s.height >= low && s.width <= high.width && s.height <= high.height;
}

void refuse(std::optional<Size>& part, const char* name, const char* why, std::string& refused) {
    if (!refused.empty()) refused += ", ";
    refused += std::string(name) + " " + std::to_string(static_cast<long long>(part->width)) + "x" +
               std::to_string(static_cast<long long>(part->height)) + " " + why;
    part.reset();
}

} // namespace

SizeHints sizeHintsFromValues(const std::vector<std::uint32_t>& values) {
    SizeHints hints;
    if (values.empty()) return hints;
    hints.minimum = pairAt(values, 5, minSizeFlag);
    hints.maximum = pairAt(values, 7, maxSizeFlag);
    hints.increment = pairAt(values, 9, incrementFlag);
    hints.base = pairAt(values, 15, baseSizeFlag);
    return hints;
}

CheckedSizeHints checkSizeHints(const SizeHints& hints, Size monitor) {
    CheckedSizeHints checked{hints, {}};
    auto& h = checked.hints;
    const Size protocol{maxProtocolLength, maxProtocolLength};
    if (h.minimum && !within(*h.minimum, 0, monitor)) refuse(h.minimum, "minimum", "beyond the monitor", checked.refused);
    if (h.base && !within(*h.base, 0, monitor)) refuse(h.base, "base", "beyond the monitor", checked.refused);
    if (h.increment && !within(*h.increment, 0, monitor)) refuse(h.increment, "increment", "beyond the monitor", checked.refused);
    // A maximum larger than the monitor limits nothing and is common; beyond the protocol it is nonsense.
    if (h.maximum && !within(*h.maximum, 0, protocol)) refuse(h.maximum, "maximum", "beyond 16 bits", checked.refused);
    return checked;
}

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
