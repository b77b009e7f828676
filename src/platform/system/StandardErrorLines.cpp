#include "platform/system/StandardErrorLines.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <mutex>
#include <streambuf>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

// Gathers a line and writes it whole; a failed write is forgotten, so the stream never goes bad.
class LineByLineBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char character = traits_type::to_char_type(c);
        xsputn(&character, 1);
        return c;
    }

    std::streamsize xsputn(const char* text, std::streamsize size) override {
        const std::lock_guard lock(mutex_);
        pending_.append(text, static_cast<std::size_t>(size));
        // Lines written one by one, each whole; a long text without an end of line goes as it is.
        const auto end = pending_.rfind('\n');
        if (end != std::string::npos) writeOut(end + 1);
        else if (pending_.size() >= 4096) writeOut(pending_.size());
        return size;
    }

    int sync() override {
        const std::lock_guard lock(mutex_);
        writeOut(pending_.size());
        return 0;
    }

private:
    // Writes the first `size` bytes, or as many as standard error takes, and forgets them.
    void writeOut(std::size_t size) {
        std::size_t written = 0;
        while (written < size) {
            const auto n = ::write(STDERR_FILENO, pending_.data() + written, size - written);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            written += static_cast<std::size_t>(n);
        }
        pending_.erase(0, size);
    }

    std::mutex mutex_;
    std::string pending_;
};

// Not SIG_IGN: an ignored signal stays ignored in the programs this one starts, a handler does not.
void noticeNothing(int) {}

} // namespace

void writeStandardErrorLineByLine() {
    struct sigaction action {};
    action.sa_handler = noticeNothing;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGPIPE, &action, nullptr);

    // Never destroyed: lines written at exit, after static objects are gone, still need it.
    static auto* const lines = new LineByLineBuffer;
    std::cerr.flush();
    std::cerr.rdbuf(lines);
    std::cerr.clear();
    // Lines go out at their end; flushing after every piece would split them.
    std::cerr.unsetf(std::ios::unitbuf);
}

} // namespace platform
