#pragma once

#include "platform/Geometry.h"
#include "platform/x11/UsableArea.h"
#include "platform/x11/X11Clients.h"
#include "platform/x11/X11Connection.h"

#include <cstdint>
#include <functional>
#include <optional>
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

// Moves the primary monitor to the front, the others keeping their order: the one RandR flags
// (`flagged`, its index), else the one at the root's origin, else the first.
void putPrimaryFirst(std::vector<Monitor>& monitors, std::optional<std::size_t> flagged);

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
// each: the desktop's per-monitor work area, else what the panels' struts leave, narrowed by the
// desktop's work area where that belongs to the monitor alone. What is read is kept until RandR, a
// work-area property of the root or a strut of a managed window says it changed.
class X11Monitors {
public:
    X11Monitors(X11Connection& connection, X11Clients& clients);
    X11Monitors(const X11Monitors&) = delete;
    X11Monitors& operator=(const X11Monitors&) = delete;

    std::vector<Monitor> read();
    // Called on every change that may move a monitor or its usable area (one per event).
    void setChangeHandler(std::function<void()> handler) { onChange_ = std::move(handler); }
    // Only what the coordinate conversion needs (no usable areas): one round trip.
    RootSpace rootSpace();
    // The event number of RRScreenChangeNotify; 0 without RandR.
    std::uint8_t randrFirstEvent() const { return randrFirstEvent_; }

private:
    std::vector<Monitor> readBounds(bool withDetails);
    void addUsableAreas(std::vector<Monitor>& monitors);
    std::vector<Strut> strutsFittingMonitors(const std::vector<Monitor>& monitors, Size root);
    Size rootSize();
    void onEvent(const xcb_generic_event_t& event);
    void changed();

    X11Connection& connection_;
    X11Clients& clients_;
    bool hasMonitors_ = false;
    std::uint8_t randrFirstEvent_ = 0;
    std::optional<std::vector<Monitor>> monitors_;
    std::optional<RootSpace> rootSpace_;
    std::optional<Size> rootSize_;
    std::function<void()> onChange_;
    ObservationToken eventToken_;
};

} // namespace platform::x11
