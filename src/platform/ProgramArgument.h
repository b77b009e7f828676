#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// The longest text Linux passes to a started program as one argument, its closing zero byte
// included: 32 memory pages (128 KiB with 4 KiB pages). A longer one makes the start fail.
std::size_t longestProgramArgument();

// Whether `text` can reach another program whole, as one argument of its command line: every way
// of handing an address to the desktop's programs ends in one.
bool fitsOneProgramArgument(std::string_view text);

} // namespace platform
