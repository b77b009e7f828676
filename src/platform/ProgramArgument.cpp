#include "platform/ProgramArgument.h"

#include <unistd.h>

namespace platform {

std::size_t longestProgramArgument() {
    constexpr std::size_t pagesPerArgument = 32;
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pagesPerArgument * static_cast<std::size_t>(pageSize > 0 ? pageSize : 4096);
}

bool fitsOneProgramArgument(std::string_view text) {
    // The terminating zero counts against the limit.
    return text.size() < longestProgramArgument();
}

} // namespace platform
