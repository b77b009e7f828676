#pragma once

#include "platform/Geometry.h"

#include <cstdint>
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

// The monitor less every strut whose reserved band touches it.
Rect usableArea(const Rect& monitor, const std::vector<Strut>& struts, Size root);

// The work area a desktop publishes per monitor (_GTK_WORKAREAS_D<n>) that belongs to this
// monitor: the one that overlaps it most, clipped to it; the whole monitor when none overlaps.
Rect workareaOfMonitor(const Rect& monitor, const std::vector<Rect>& workareas);

Rect intersection(const Rect& a, const Rect& b);

} // namespace platform::x11
