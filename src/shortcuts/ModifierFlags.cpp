#include "shortcuts/ModifierFlags.h"

#include <array>

namespace GlobalShortcuts {

namespace {

struct ModifierRow {
    std::uint64_t flag;
    std::int64_t carbonBit;
    const char* glyph;
};

// In glyph order.
constexpr std::array<ModifierRow, 5> modifierRows{{
    {ModifierFlags::control, CarbonModifier::control, "\u2303"},
    {ModifierFlags::option, CarbonModifier::option, "\u2325"},
    {ModifierFlags::shift, CarbonModifier::shift, "\u21E7"},
    {ModifierFlags::command, CarbonModifier::command, "\u2318"},
    {ModifierFlags::function, CarbonModifier::function, "\U0001F310\uFE0E"},
}};

} // namespace

std::int64_t ModifierFlags::carbon() const {
    std::int64_t bits = 0;
    for (const auto& row : modifierRows) {
        if (contains(row.flag)) bits |= row.carbonBit;
    }
    return bits;
}

ModifierFlags ModifierFlags::initCarbon(std::int64_t carbonBits) {
    ModifierFlags flags;
    for (const auto& row : modifierRows) {
        if (carbonBits & row.carbonBit) flags.rawValue |= row.flag;
    }
    return flags;
}

std::string ModifierFlags::glyphs() const {
    std::string text;
    for (const auto& row : modifierRows) {
        if (contains(row.flag)) text += row.glyph;
    }
    return text;
}

} // namespace GlobalShortcuts
