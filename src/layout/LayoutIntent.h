#pragma once

namespace zentaris {

// What a window was last put in by a command; remembered in memory for the screen swap.
enum class LayoutIntent {
    threeColumnLeft,
    threeColumnCenter,
    threeColumnRight,
    split3070Left,
    split3070Right,
    split7030Left,
    split7030Right,
    splitVerticalLeft,
    splitVerticalRight,
    unknown,
};

} // namespace zentaris
