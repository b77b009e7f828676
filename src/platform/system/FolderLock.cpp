#include "platform/system/FolderLock.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds maximumWait) {
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    // A writer that was stopped or hangs on a stuck mount while holding the lock must not freeze
    // this process: after a while the change goes ahead unguarded, as where no lock is possible.
    const auto giveUpAt = std::chrono::steady_clock::now() + maximumWait;
    int result;
    while ((result = ::flock(fd_, LOCK_EX | LOCK_NB)) != 0 && (errno == EWOULDBLOCK || errno == EINTR) &&
           std::chrono::steady_clock::now() < giveUpAt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (result != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_); // closing the only descriptor releases the lock
}

} // namespace platform
