#pragma once

#include <xcb/xcb.h>

#include <cstddef>
#include <optional>
#include <vector>

namespace platform::x11 {

// Managed windows in the order the server stacks them, topmost first. `topLevels` holds, for each
// window of the window manager's list (topmost first by its word), the root's child that holds it
// (its frame, or the window itself), none when unknown; `rootChildren` are the root's children
// bottom to top. The result are indices into `topLevels`. Some window managers keep their list in
// the order windows were made, whatever was raised since, so the list's order stands only where
// the server cannot tell: among windows of one top-level window (tabs of one frame), and among
// those of no known top-level, which come last.
std::vector<std::size_t> serverStackingTopmostFirst(const std::vector<std::optional<xcb_window_t>>& topLevels,
                                                    const std::vector<xcb_window_t>& rootChildren);

} // namespace platform::x11
