#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Bounds for geometry that other clients hand us and for the numbers we put into requests.
namespace platform::x11 {

// Panels, decorations and shadows of real desktops take far less than this share of a monitor on
// any one side; a larger value is made up and treated as absent. Keeping every side below a
// quarter also leaves at least half of each monitor usable.
inline constexpr double maxReservedShare = 0.25;

// The X protocol carries positions as 16-bit signed and sizes as 16-bit unsigned numbers.
inline constexpr double minProtocolCoordinate = -32768;
inline constexpr double maxProtocolCoordinate = 32767;
inline constexpr double maxProtocolLength = 65535;

// A position for a request, rounded; none when it is not a number or beyond the protocol's range.
std::optional<std::int16_t> protocolCoordinate(double value);
// A width or height for a request, rounded; none when it is not a number, below 1 or beyond the
// protocol's range.
std::optional<std::uint16_t> protocolLength(double value);

// Writes one line to standard error the first time a property of a window is refused for a reason,
// so that a client that keeps resetting a bad value does not flood the log.
void reportRefusedProperty(std::uint32_t window, std::string_view property, std::string_view why);
// "1, 2, 4294967295": a property's values for such a line.
std::string listOfValues(const std::vector<std::uint32_t>& values);

} // namespace platform::x11
