#pragma once

#include <atomic>
#include <cstdint>

namespace zentaris::bench {

// The counters the preloaded request counter keeps in a shared file named by this variable.
constexpr const char* xRequestCountFileVariable = "ZENTARIS_X_REQUEST_COUNTS";

struct XRequestCounts {
    std::atomic<std::uint64_t> requests{0};
    std::atomic<std::uint64_t> roundTrips{0};
};

} // namespace zentaris::bench
