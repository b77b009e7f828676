#include "platform/system/AtomicFileWriter.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool writeAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const auto n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

int writeFileDurably(const std::filesystem::path& file, const std::string& text, int flags, mode_t mode,
                     const std::filesystem::path& permissionsFrom = {}) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, mode);
    if (fd < 0) return errno;
    struct stat existing {};
    if (!permissionsFrom.empty() && ::stat(permissionsFrom.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(fd, existing.st_mode & 07777);
    }
    int failure = writeAll(fd, text) && ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure != 0) ::unlink(file.c_str());
    return failure;
}

// Removes the temporaries that writers killed between writing and renaming left beside `target`;
// one whose process still runs may be about to be renamed.
void removeAbandonedTemporaries(const std::filesystem::path& target) {
    const std::string prefix = target.filename().string() + ".tmp-";
    std::error_code error;
    for (std::filesystem::directory_iterator it(target.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.size() > prefix.size() + 9 || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::string digits = name.substr(prefix.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(digits));
        std::error_code statusError;
        if (pid <= 0 || pid == ::getpid() ||
            it->symlink_status(statusError).type() != std::filesystem::file_type::regular) {
            continue;
        }
        if (::kill(pid, 0) == 0 || errno != ESRCH) continue; // that process still runs
        ::unlink(it->path().c_str());
    }
}

void flushFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // some file systems cannot flush a folder; the rename has happened all the same
    ::close(fd);
}

} // namespace

int writeNewFileDurably(const std::filesystem::path& file, const std::string& text, mode_t mode) {
    return writeFileDurably(file, text, O_EXCL, mode);
}

int replaceFileAtomically(const std::filesystem::path& target, const std::string& text, mode_t mode,
                          const std::function<bool()>& beforeReplace) {
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    removeAbandonedTemporaries(target);
    auto temporary = target;
    temporary += ".tmp-" + std::to_string(::getpid());
    if (const int failure = writeFileDurably(temporary, text, O_TRUNC, mode, target)) return failure;
    if (beforeReplace && !beforeReplace()) return 0;
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int failure = errno;
        ::unlink(temporary.c_str());
        return failure;
    }
    flushFolder(target.parent_path());
    return 0;
}

} // namespace platform
