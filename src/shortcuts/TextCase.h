#pragma once

#include <cstddef>
#include <string>

namespace GlobalShortcuts {

// Every word with its first letter in upper case and the rest in lower case ("space" -> "Space").
std::string capitalized(const std::string& utf8);
// The number of Unicode scalars of a UTF-8 text; malformed bytes count one each.
std::size_t scalarCount(const std::string& utf8);

} // namespace GlobalShortcuts
