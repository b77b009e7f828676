#pragma once

#include <chrono>
#include <filesystem>

namespace platform {

// An exclusive advisory lock on a folder, held while the object lives, so that writers in other
// processes that take the same lock read, change and replace a file in it one at a time. Locking
// the folder rather than a file leaves nothing behind, and it holds across the renames that
// replace the files inside. The wait blocks in the kernel, which hands the lock on as soon as a
// holder lets go, so writers that each hold it briefly never starve one another; it ends after
// `maximumWait` (a holder that was stopped or hangs on a stuck mount), and the lock is then not
// held. Where the folder cannot be locked at all (some network file systems), nothing is held
// either and the caller goes on unguarded.
class FolderLock {
public:
    static constexpr std::chrono::milliseconds standardWait{2000};

    // A `maximumWait` of zero takes the lock only if it is free now.
    explicit FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds maximumWait = standardWait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool timedOut() const { return state_ == State::timedOut; }

private:
    enum class State { held, unavailable, timedOut };

    int fd_ = -1;
    State state_ = State::unavailable;
};

} // namespace platform
