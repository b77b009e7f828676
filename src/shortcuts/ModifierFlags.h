#pragma once

#include <cstdint>
#include <string>

namespace GlobalShortcuts {

// The Carbon modifier bits that shortcuts are stored and registered with.
namespace CarbonModifier {
inline constexpr std::int64_t command = 0x100;
inline constexpr std::int64_t shift = 0x200;
inline constexpr std::int64_t option = 0x800;
inline constexpr std::int64_t control = 0x1000;
inline constexpr std::int64_t function = 0x20000;
inline constexpr std::int64_t all = command | shift | option | control | function;
} // namespace CarbonModifier

// Modifier flags as key events report them (the event flag bits).
struct ModifierFlags {
    std::uint64_t rawValue = 0;

    static constexpr std::uint64_t capsLock = 0x10000;
    static constexpr std::uint64_t shift = 0x20000;
    static constexpr std::uint64_t control = 0x40000;
    static constexpr std::uint64_t option = 0x80000;
    static constexpr std::uint64_t command = 0x100000;
    static constexpr std::uint64_t numericPad = 0x200000;
    static constexpr std::uint64_t help = 0x400000;
    static constexpr std::uint64_t function = 0x800000;

    constexpr bool contains(std::uint64_t flag) const { return (rawValue & flag) == flag; }
    constexpr bool operator==(const ModifierFlags&) const = default;

    // The Carbon bits of the five known modifiers; every other flag is dropped.
    std::int64_t carbon() const;
    static ModifierFlags initCarbon(std::int64_t carbonBits);
    // The glyphs of the set modifiers, always in the order control, option, shift, command, function.
    std::string glyphs() const;
};

// Keeps only the five known Carbon bits.
inline std::int64_t normalizedCarbonModifiers(std::int64_t carbonBits) {
    return ModifierFlags::initCarbon(carbonBits).carbon();
}

} // namespace GlobalShortcuts
