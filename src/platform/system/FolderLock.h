#pragma once

#include <chrono>
#include <filesystem>

namespace platform {

// An exclusive advisory lock on a folder, held while the object lives, so that writers in other
// processes that take the same lock read, change and replace a file in it one at a time. Locking
// the folder rather than a file leaves nothing behind, and it holds across the renames that
// replace the files inside. Where the folder cannot be locked (some network file systems), the
// object holds nothing and the caller goes on unguarded; so it does when another holder keeps the
// lock longer than `maximumWait`.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder,
                        std::chrono::milliseconds maximumWait = std::chrono::seconds(2));
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace platform
