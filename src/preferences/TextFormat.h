#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zentaris {

using FormatArgument = std::variant<std::int64_t, std::string>;

// Fills a translated format text without handing it to printf: the placeholders %d, %i, %ld,
// %li, %lld, %lli (integers) and %@ (texts), in order or numbered (%2$d), take the arguments;
// %% becomes %. A placeholder with no argument of its type, and anything else, stays as written.
std::string formatText(const std::string& format, const std::vector<FormatArgument>& arguments);

} // namespace zentaris
