#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace platform {

// The whole text of a file that anyone may have replaced with something else. Only a regular
// file is read, so a named pipe or a device never holds the caller up; a file over the limit is
// refused rather than read in part.
struct SmallFile {
    enum class Failure { none, missing, notRegularFile, tooLarge, unreadable };

    std::string contents;
    Failure failure = Failure::none;
    int error = 0; // the system's error number when unreadable

    explicit operator bool() const { return failure == Failure::none; }
};

SmallFile readSmallFile(const std::filesystem::path& path, std::size_t maxBytes);

// One line for standard error: why `path` was not read (`file` being what readSmallFile gave).
std::string describeUnreadFile(const std::filesystem::path& path, const SmallFile& file, std::size_t maxBytes);

} // namespace platform
