#pragma once

#include <chrono>
#include <filesystem>
#include <functional>

namespace zentaris::testing {

// A named pipe that nobody writes to: opening it for reading, unless done without blocking, waits
// for ever.
class NamedPipe {
public:
    explicit NamedPipe(std::filesystem::path path);
    const std::filesystem::path& path() const { return path_; }

    // Whether `read`, run on the calling thread, returns within `limit`. When it does not, the pipe
    // is given writers that close at once until it does, so the test ends rather than hangs.
    bool returnsWithin(std::chrono::seconds limit, const std::function<void()>& read) const;

private:
    std::filesystem::path path_;
};

} // namespace zentaris::testing
