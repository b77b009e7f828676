#pragma once

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentaris::bench {

// Another process that holds a settings folder's lock, as the program's store takes it, and is
// stopped (suspended, or under a debugger) so that it never lets go. Killed when dropped, which
// frees the lock.
class StoppedHolder {
public:
    explicit StoppedHolder(const std::filesystem::path& folder) {
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
            ::raise(SIGSTOP);
            ::_exit(0);
        }
        // Stopped only once the lock is held.
        int status = 0;
        const bool changed = pid_ > 0 && ::waitpid(pid_, &status, WUNTRACED) == pid_;
        holding_ = changed && WIFSTOPPED(status);
        if (changed && !holding_) pid_ = -1; // it could not take the lock and has ended
    }
    ~StoppedHolder() { release(); }
    StoppedHolder(const StoppedHolder&) = delete;
    StoppedHolder& operator=(const StoppedHolder&) = delete;

    bool holding() const { return holding_; }
    void release() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        holding_ = false;
    }

private:
    pid_t pid_ = -1;
    bool holding_ = false;
};

} // namespace zentaris::bench
