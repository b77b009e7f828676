#pragma once

#include <cstddef>
#include <string>

namespace zentaris {

// At most `maxBytes` bytes of `text`, cut at a character boundary, with "…" appended when cut.
std::string truncateUtf8(const std::string& text, std::size_t maxBytes);

// `bytes` as UTF-8, with every invalid sequence replaced by U+FFFD.
std::string repairUtf8(const std::string& bytes);

} // namespace zentaris
