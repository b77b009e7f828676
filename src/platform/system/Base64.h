#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

std::string base64Encode(const std::vector<std::uint8_t>& bytes);
// Nothing when the text is not canonical, padded base64.
std::optional<std::vector<std::uint8_t>> base64Decode(const std::string& text);

} // namespace platform
