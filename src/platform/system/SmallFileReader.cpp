#include "platform/system/SmallFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {

SmallFile failed(SmallFile::Failure failure, int error = 0) {
    SmallFile file;
    file.failure = failure;
    file.error = error;
    return file;
}

SmallFile failedWithErrno() {
    return failed(errno == ENOENT || errno == ENOTDIR ? SmallFile::Failure::missing : SmallFile::Failure::unreadable,
                  errno);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

SmallFile readSmallFile(const std::filesystem::path& path, std::size_t maxBytes) {
    // Looked at before opening: opening some devices already does something.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return failedWithErrno();
    if (!S_ISREG(status.st_mode)) return failed(SmallFile::Failure::notRegularFile);

    // Non-blocking, in case a pipe took the file's place since: opening a pipe would wait for a writer.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) return failedWithErrno();
    if (::fstat(fd.get(), &status) != 0) return failed(SmallFile::Failure::unreadable, errno);
    if (!S_ISREG(status.st_mode)) return failed(SmallFile::Failure::notRegularFile);
    if (status.st_size < 0 || static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
        return failed(SmallFile::Failure::tooLarge);
    }

    // The size is only a hint: files of /proc and /sys say 0, and a file may grow while read.
    SmallFile file;
    file.contents.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t length = 0;
    for (;;) {
        if (length == file.contents.size()) {
            if (length > maxBytes) return failed(SmallFile::Failure::tooLarge);
            file.contents.resize(std::min(maxBytes + 1, std::max<std::size_t>(4096, length * 2)));
        }
        const auto count = ::read(fd.get(), file.contents.data() + length, file.contents.size() - length);
        if (count < 0) {
            if (errno == EINTR) continue;
            return failed(SmallFile::Failure::unreadable, errno);
        }
        if (count == 0) break;
        length += static_cast<std::size_t>(count);
    }
    if (length > maxBytes) return failed(SmallFile::Failure::tooLarge);
    file.contents.resize(length);
    return file;
}

std::string describeUnreadFile(const std::filesystem::path& path, const SmallFile& file, std::size_t maxBytes) {
    std::string reason;
    switch (file.failure) {
    case SmallFile::Failure::none: return {};
    case SmallFile::Failure::missing: reason = "it does not exist"; break;
    case SmallFile::Failure::notRegularFile: reason = "it is not a regular file"; break;
    case SmallFile::Failure::tooLarge: reason = "it is larger than " + std::to_string(maxBytes) + " bytes"; break;
    case SmallFile::Failure::unreadable: reason = std::strerror(file.error); break;
    }
    return path.string() + ": not read, " + reason;
}

} // namespace platform
