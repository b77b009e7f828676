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

    // Whether `read` returns within `limit`. When it does not, the pipe is given a writer that
    // closes at once, so the reader ends with the test rather than hanging it.
    bool returnsWithin(std::chrono::seconds limit, const std::function<void()>& read) const;

private:
    std::filesystem::path path_;
};

} // namespace zentaris::testing
