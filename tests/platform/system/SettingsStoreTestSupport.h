#pragma once

#include "platform/UserDefaults.h"

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace zentaris::testing {

// A change of a list in the store that appends `item`.
inline platform::UserDefaults::Change appending(std::string item) {
    return [item](const std::optional<platform::DefaultsValue>& stored) -> std::optional<platform::DefaultsValue> {
        auto list = stored ? std::get<platform::StringList>(*stored) : platform::StringList{};
        list.push_back(item);
        return list;
    };
}

// Another writer that holds the settings folder's lock and never lets go while it lives, as one
// that was stopped in the middle of a save.
class StuckLockHolder {
public:
    explicit StuckLockHolder(const std::filesystem::path& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~StuckLockHolder() {
        if (fd_ >= 0) ::close(fd_);
    }
    StuckLockHolder(const StuckLockHolder&) = delete;
    StuckLockHolder& operator=(const StuckLockHolder&) = delete;

    bool holds() const { return fd_ >= 0; }

private:
    int fd_;
};

} // namespace zentaris::testing
