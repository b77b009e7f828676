#include "support/NamedPipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace zentaris::testing {

NamedPipe::NamedPipe(std::filesystem::path path) : path_(std::move(path)) {
    std::filesystem::create_directories(path_.parent_path());
    if (::mkfifo(path_.c_str(), 0600) != 0) throw std::runtime_error("cannot create a named pipe");
}

bool NamedPipe::returnsWithin(std::chrono::seconds limit, const std::function<void()>& read) const {
    // The read runs on the calling thread (it may draw, which only the main thread may do); a
    // watchdog releases it when it is stuck.
    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;
    bool released = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (changed.wait_for(lock, limit, [&] { return finished; })) return;
        released = true;
        while (!finished) {
            lock.unlock();
            // A non-blocking writer opens only once a reader waits, which the stuck read is doing.
            const int writer = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) ::close(writer);
            lock.lock();
            changed.wait_for(lock, std::chrono::milliseconds(20), [&] { return finished; });
        }
    });
    read();
    {
        const std::lock_guard lock(mutex);
        finished = true;
    }
    changed.notify_all();
    watchdog.join();
    return !released;
}

} // namespace zentaris::testing
