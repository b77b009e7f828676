#include "platform/x11/GeometryLimits.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <tuple>

namespace platform::x11 {

std::optional<std::int16_t> protocolCoordinate(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::round(value);
    if (rounded < minProtocolCoordinate || rounded > maxProtocolCoordinate) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::uint16_t> protocolLength(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::round(value);
    if (rounded < 1 || rounded > maxProtocolLength) return std::nullopt;
    return static_cast<std::uint16_t>(rounded);
}

void reportRefusedProperty(std::uint32_t window, std::string_view property, std::string_view why) {
    // Keyed by the value's description as well: window ids are reused by later clients.
    static std::set<std::tuple<std::uint32_t, std::string, std::string>> reported;
    if (reported.size() > 1000) reported.clear();
    if (!reported.emplace(window, std::string(property), std::string(why)).second) return;
    std::fprintf(stderr, "zentaris: ignoring %.*s of window 0x%x: %.*s\n", static_cast<int>(property.size()), property.data(),
                 window, static_cast<int>(why.size()), why.data());
}

std::string listOfValues(const std::vector<std::uint32_t>& values) {
    std::string text;
    for (auto value : values) text += (text.empty() ? "" : ", ") + std::to_string(value);
    return text;
}

} // namespace platform::x11
