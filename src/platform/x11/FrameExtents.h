#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace platform::x11 {

// What lies around a client window on each side: the window manager's decorations
// (_NET_FRAME_EXTENTS) or the invisible shadow of a client-side-decorated window (_GTK_FRAME_EXTENTS).
struct FrameExtents {
    double left = 0, right = 0, top = 0, bottom = 0;
    bool operator==(const FrameExtents&) const = default;
};

// Whether the decoration above the client is a title bar: one no taller than the other sides is a
// border (a window manager may keep one around a window it does not decorate).
bool hasTitleBar(const FrameExtents& decoration);

// The four values left, right, top, bottom of either property; none when fewer are given or a side
// is larger than a quarter of the monitor (no decoration or shadow is, so the client made it up).
std::optional<FrameExtents> plausibleFrameExtents(const std::vector<std::uint32_t>& values, Size monitor);

// The sides of the window manager's frame window around its client, both in root coordinates: what
// the decorations really are when the declared ones are made up. None when the client does not lie
// inside the frame or a side is larger than a quarter of the monitor.
std::optional<FrameExtents> extentsAround(const Rect& client, const Rect& frame, Size monitor);

// Whether the window manager's frame window around the client bears out the declared decorations
// (a client may overwrite them with anything): the client sits in the frame at the declared top
// (the title bar) and no further left than declared (some managers keep an invisible border for
// resizing inside their frame and leave it out of what they declare). The client's place in its
// frame changes only with the decorations, never with a move or resize, so this holds even while
// the manager is between moving the frame and the client; the right and bottom sides do not.
bool frameBearsOut(const FrameExtents& declared, const Rect& client, const Rect& frame);

// A move and resize as the X protocol carries it.
struct ProtocolRect {
    std::int16_t x = 0, y = 0;
    std::uint16_t width = 1, height = 1;
    bool operator==(const ProtocolRect&) const = default;
};

// The request that gives a client window the outer frame `target` (root coordinates): the position
// is that of the window manager's frame with the shadow included, as NorthWest gravity reads it,
// the size that of the client alone. None when a number falls outside the protocol's range.
std::optional<ProtocolRect> clientRequestFor(const Rect& target, const FrameExtents& decoration, const FrameExtents& shadow,
                                             double border);

} // namespace platform::x11
