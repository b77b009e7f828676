#include "support/NamedPipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <stdexcept>
#include <thread>

namespace zentaris::testing {

NamedPipe::NamedPipe(std::filesystem::path path) : path_(std::move(path)) {
    std::filesystem::create_directories(path_.parent_path());
    if (::mkfifo(path_.c_str(), 0600) != 0) throw std::runtime_error("cannot create a named pipe");
}

bool NamedPipe::returnsWithin(std::chrono::seconds limit, const std::function<void()>& read) const {
    auto done = std::async(std::launch::async, read);
    if (done.wait_for(limit) == std::future_status::ready) {
        done.get();
        return true;
    }
    // A non-blocking writer opens only once a reader waits, which the stuck read is doing.
    for (;;) {
        const int writer = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            ::close(writer);
            if (done.wait_for(std::chrono::milliseconds(100)) == std::future_status::ready) break;
            continue;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    done.get();
    return false;
}

} // namespace zentaris::testing
