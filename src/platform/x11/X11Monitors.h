#pragma once

#include "platform/Geometry.h"
#include "platform/x11/X11Clients.h"
#include "platform/x11/X11Connection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::x11 {

// One monitor in root-window coordinates (origin top left, physical pixels).
struct Monitor {
    Rect bounds;
    Rect usable;
    std::string name;
    std::uint32_t number = 0; // its first RandR output, else the atom of its name
    bool builtin = false;
    bool operator==(const Monitor&) const = default;
};

// The mapping between root-window coordinates and the two coordinate systems of the interfaces:
// screen coordinates (origin at the bottom left of the primary monitor, y upwards) and
// accessibility coordinates (origin at the primary monitor's top left, y downwards).
struct RootSpace {
    Rect primary; // the primary monitor in root coordinates

    Rect toScreen(const Rect& root) const {
        return {root.minX() - primary.minX(), primary.maxY() - root.maxY(), root.width(), root.height()};
    }
    Point toScreen(Point root) const { return {root.x - primary.minX(), primary.maxY() - root.y}; }
    Point toAccessibility(Point root) const { return {root.x - primary.minX(), root.y - primary.minY()}; }
    Point fromAccessibility(Point ax) const { return {ax.x + primary.minX(), ax.y + primary.minY()}; }
};

// The monitors from RandR (primary first, else the one at the origin) with the usable area of
// each. Everything is read afresh on every call.
class X11Monitors {
public:
    X11Monitors(X11Connection& connection, X11Clients& clients);

    std::vector<Monitor> read();
    // Only what the coordinate conversion needs (no usable areas): one round trip.
    RootSpace rootSpace();
    // The event number of RRScreenChangeNotify; 0 without RandR.
    std::uint8_t randrFirstEvent() const { return randrFirstEvent_; }

private:
    std::vector<Monitor> readBounds(bool withDetails);
    void addUsableAreas(std::vector<Monitor>& monitors);
    Size rootSize();

    X11Connection& connection_;
    X11Clients& clients_;
    bool hasMonitors_ = false;
    std::uint8_t randrFirstEvent_ = 0;
};

} // namespace platform::x11
