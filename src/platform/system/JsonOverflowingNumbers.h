#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// JSON allows numbers of any size, but the parser refuses a whole document over one number that
// no double can hold (1e400). This is `json` with each such number replaced by null, so that only
// the value that held it is lost; nothing when it has none. Text inside strings is never touched,
// and a document that is not JSON stays not JSON.
std::optional<std::string> replaceOverflowingNumbers(std::string_view json);

} // namespace platform
