#pragma once

#include "platform/Geometry.h"

#include <optional>

namespace zentaris {

// The single-window positions the arrow, centre and full-screen shortcuts step through.
enum class PositionState {
    none,
    leftQuarter,
    leftThirty,
    leftHalf,
    leftSeventy,
    leftThreeQuarters,
    leftFullWidth,
    rightQuarter,
    rightThirty,
    rightHalf,
    rightSeventy,
    rightThreeQuarters,
    rightFullWidth,
    centerHalf,
    centerSeventy,
    centerThreeQuarters,
    topHalf,
    bottomHalf,
    fullscreen,
};

// The single-window actions, numbered as the shortcuts and the delayed arrow step use them.
enum class SingleWindowAction { left = 0, right = 1, center = 2, fullscreen = 3, up = 4, down = 5 };

enum class ArrowDirection { left, right, up, down };

// The state one more press of `action` leads to from `current`.
PositionState nextPositionState(SingleWindowAction action, PositionState current);

// The rectangle of a state inside the usable area `area`; none for PositionState::none.
std::optional<platform::Rect> rectForPositionState(PositionState state, const platform::Rect& area);

// The single step an arrow makes on its own.
SingleWindowAction singleWindowActionForArrow(ArrowDirection direction);

// The corner (0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right) two arrows pressed together
// pick, in either order; none for pairs that name no corner.
std::optional<int> cornerForArrows(ArrowDirection first, ArrowDirection second);

} // namespace zentaris
