#include "app/PositionState.h"

#include <array>

namespace zentaris {

namespace {

using enum PositionState;

constexpr std::array leftCycle{leftQuarter, leftThirty, leftHalf, leftSeventy, leftThreeQuarters, leftFullWidth};
constexpr std::array rightCycle{rightQuarter, rightThirty, rightHalf, rightSeventy, rightThreeQuarters, rightFullWidth};
constexpr std::array centerCycle{centerHalf, centerSeventy, centerThreeQuarters, fullscreen};

// The state after `current` in a cycle, or the cycle's first state when `current` is not in it.
template <std::size_t N>
PositionState advance(const std::array<PositionState, N>& cycle, PositionState current) {
    for (std::size_t i = 0; i < N; ++i) {
        if (cycle[i] == current) return cycle[(i + 1) % N];
    }
    return cycle.front();
}

} // namespace

PositionState nextPositionState(SingleWindowAction action, PositionState current) {
    switch (action) {
    case SingleWindowAction::left: return advance(leftCycle, current);
    case SingleWindowAction::right: return advance(rightCycle, current);
    case SingleWindowAction::center: return advance(centerCycle, current);
    case SingleWindowAction::fullscreen: return fullscreen;
    case SingleWindowAction::up: return current == topHalf ? bottomHalf : topHalf;
    case SingleWindowAction::down: return current == bottomHalf ? topHalf : bottomHalf;
    }
    return none;
}

std::optional<platform::Rect> rectForPositionState(PositionState state, const platform::Rect& f) {
    const double x = f.minX(), y = f.minY(), w = f.width(), h = f.height();
    switch (state) {
    case none: return std::nullopt;
    case leftQuarter: return platform::Rect(x, y, 0.25 * w, h);
    case leftThirty: return platform::Rect(x, y, 0.3 * w, h);
    case leftHalf: return platform::Rect(x, y, 0.5 * w, h);
    case leftSeventy: return platform::Rect(x, y, 0.67 * w, h);
    case leftThreeQuarters: return platform::Rect(x, y, 0.75 * w, h);
    case leftFullWidth: return f;
    case rightQuarter: return platform::Rect(x + 0.75 * w, y, 0.25 * w, h);
    case rightThirty: return platform::Rect(x + 0.67 * w, y, 0.33 * w, h);
    case rightHalf: return platform::Rect(x + 0.5 * w, y, 0.5 * w, h);
    case rightSeventy: return platform::Rect(x + 0.33 * w, y, 0.67 * w, h);
    case rightThreeQuarters: return platform::Rect(x + 0.25 * w, y, 0.75 * w, h);
    case rightFullWidth: return f;
    case centerHalf: return platform::Rect(x + 0.25 * w, y, 0.5 * w, h);
    case centerSeventy: return platform::Rect(x + 0.165 * w, y, 0.67 * w, h);
    case centerThreeQuarters: return platform::Rect(x + 0.125 * w, y, 0.75 * w, h);
    case topHalf: return platform::Rect(x, y + 0.5 * h, w, 0.5 * h);
    case bottomHalf: return platform::Rect(x, y, w, 0.5 * h);
    case fullscreen: return f;
    }
    return std::nullopt;
}

SingleWindowAction singleWindowActionForArrow(ArrowDirection direction) {
    switch (direction) {
    case ArrowDirection::left: return SingleWindowAction::left;
    case ArrowDirection::right: return SingleWindowAction::right;
    case ArrowDirection::up: return SingleWindowAction::up;
    case ArrowDirection::down: return SingleWindowAction::down;
    }
    return SingleWindowAction::left;
}

std::optional<int> cornerForArrows(ArrowDirection first, ArrowDirection second) {
    auto pair = [&](ArrowDirection a, ArrowDirection b) {
        return (first == a && second == b) || (first == b && second == a);
    };
    if (pair(ArrowDirection::left, ArrowDirection::up)) return 0;
    if (pair(ArrowDirection::right, ArrowDirection::up)) return 1;
    if (pair(ArrowDirection::left, ArrowDirection::down)) return 2;
    if (pair(ArrowDirection::right, ArrowDirection::down)) return 3;
    return std::nullopt;
}

} // namespace zentaris
