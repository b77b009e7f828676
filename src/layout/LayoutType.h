#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zentaris {

// The multi-window layouts that arrange all windows of a screen. The raw values are the
// layouts' stable numbers.
enum class LayoutType : std::int64_t {
    threeColumn = 0,
    quartet = 1,
    splitVertical = 2,
    splitHorizontal = 3,
    threeWindowTop = 4,
    threeWindowBottom = 5,
    split7030 = 6,
    split3070 = 7,
    threeWindowLeft = 8,
    threeWindowRight = 9,
};

constexpr std::array<LayoutType, 10> allLayoutTypes{
    LayoutType::threeColumn,    LayoutType::quartet,           LayoutType::splitVertical, LayoutType::splitHorizontal,
    LayoutType::threeWindowTop, LayoutType::threeWindowBottom, LayoutType::split7030,     LayoutType::split3070,
    LayoutType::threeWindowLeft, LayoutType::threeWindowRight,
};

constexpr std::int64_t rawValue(LayoutType layout) { return static_cast<std::int64_t>(layout); }

constexpr std::optional<LayoutType> layoutTypeFromRaw(std::int64_t raw) {
    if (raw < 0 || raw >= static_cast<std::int64_t>(allLayoutTypes.size())) return std::nullopt;
    return static_cast<LayoutType>(raw);
}

// The symbol image that pictures the layout in the menu.
std::string_view symbolName(LayoutType layout);

} // namespace zentaris
