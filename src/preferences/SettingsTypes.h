#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zentaris {

// The modifier key that must be held for a drag to snap.
enum class DragModeModifier { none, command, shift };

// The widths of the three-column layout: left, middle and right share of the screen.
enum class ThreeColumnStyle { balanced, classic };

constexpr std::array<DragModeModifier, 3> allDragModeModifiers{DragModeModifier::none, DragModeModifier::command,
                                                                 DragModeModifier::shift};
constexpr std::array<ThreeColumnStyle, 2> allThreeColumnStyles{ThreeColumnStyle::balanced, ThreeColumnStyle::classic};

constexpr std::string_view rawValue(DragModeModifier modifier) {
    switch (modifier) {
    case DragModeModifier::none: return "none";
    case DragModeModifier::command: return "command";
    case DragModeModifier::shift: return "shift";
    }
    return "command";
}

constexpr std::string_view rawValue(ThreeColumnStyle style) {
    return style == ThreeColumnStyle::classic ? "25-50-25" : "30-40-30";
}

inline std::optional<DragModeModifier> dragModeModifierFromRaw(std::string_view raw) {
    for (auto modifier : allDragModeModifiers) {
        if (rawValue(modifier) == raw) return modifier;
    }
    return std::nullopt;
}

inline std::optional<ThreeColumnStyle> threeColumnStyleFromRaw(std::string_view raw) {
    for (auto style : allThreeColumnStyles) {
        if (rawValue(style) == raw) return style;
    }
    return std::nullopt;
}

} // namespace zentaris
