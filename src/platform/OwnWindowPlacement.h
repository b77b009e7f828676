#pragma once

#include <cstdint>

namespace platform {

// Where the program's own windows appear among the desktop's workspaces.
class OwnWindowPlacement {
public:
    virtual ~OwnWindowPlacement() = default;

    // Puts one of our top-level windows (its native id), shown or minimised, on the workspace the
    // user is looking at, so that activating it brings it into view. Nothing for a hidden window (it
    // is shown where the user looks), when the desktop has no workspaces, the window is on every one,
    // or it has gone.
    virtual void moveToCurrentWorkspace(std::uint64_t window) = 0;
};

} // namespace platform
