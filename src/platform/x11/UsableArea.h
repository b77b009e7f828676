#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <optional>
#include <vector>

// The usable part of a monitor: what panels and docks leave free. Pure geometry in root-window
// coordinates (origin top left, y downwards).
namespace platform::x11 {

// Edges reserved by a panel, measured from the edges of the whole root window, as
// _NET_WM_STRUT_PARTIAL gives them (start/end are inclusive ranges along the edge).
struct Strut {
    double left = 0, right = 0, top = 0, bottom = 0;
    double leftStartY = 0, leftEndY = 0, rightStartY = 0, rightEndY = 0;
    double topStartX = 0, topEndX = 0, bottomStartX = 0, bottomEndX = 0;

    // From the 12 values of _NET_WM_STRUT_PARTIAL, or the 4 of _NET_WM_STRUT, which span whole edges.
    static Strut fromValues(const std::vector<std::uint32_t>& values, Size root);
};

// The monitor less the struts that end on it. An edge of a strut belongs to the monitor it ends on,
// at most a quarter into it; a monitor its band covers wholly is left to the monitor beyond (a
// panel on an inner edge between two monitors). So the result lies inside the monitor and keeps
// at least half of its width and height, whatever the struts say.
Rect usableArea(const Rect& monitor, const std::vector<Strut>& struts, Size root);

// Whether every edge a strut reserves ends on some monitor it belongs to by the rule above; a
// strut with an edge that does not (beyond the root, deep inside a monitor) is made up.
bool strutFitsMonitors(const Strut& strut, const std::vector<Rect>& monitors, Size root);

// Work areas as a desktop publishes them (_GTK_WORKAREAS_D<n>, _NET_WORKAREA): x, y, width, height
// groups; a rectangle that lies outside the root or has no area is left out.
std::vector<Rect> workareasFromValues(const std::vector<std::uint32_t>& values, Size root);

// The published work area that belongs to this monitor: the one that overlaps it most, clipped to
// it. None when none overlaps or the match takes more than a quarter of the monitor on some side
// (a made-up or degenerate area).
std::optional<Rect> workareaOfMonitor(const Rect& monitor, const std::vector<Rect>& workareas);

// The current desktop's rectangle of _NET_WORKAREA (x, y, width, height for each desktop in turn).
// None when the values are not one rectangle per desktop (`desktops`, where known), the desktop has
// none, or its rectangle lies outside the root or has no area.
std::optional<Rect> workareaOfDesktop(const std::vector<std::uint32_t>& values, std::uint32_t desktop,
                                      std::optional<std::uint32_t> desktops, Size root);

// The area the struts leave, less what a work area published for all monitors at once leaves out
// (a panel that reserves no strut), where that work area plausibly belongs to this monitor alone.
// A work area that spans several monitors tells nothing about any one of them: the struts decide.
Rect narrowedByWorkarea(const Rect& usable, const Rect& monitor, const std::optional<Rect>& workarea);

// Whether `usable` lies inside `monitor` and leaves out at most a quarter of it on every side.
bool isPlausibleUsableArea(const Rect& usable, const Rect& monitor);

Rect intersection(const Rect& a, const Rect& b);

} // namespace platform::x11
