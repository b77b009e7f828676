#include "platform/system/FailingStandardError.h"

#include <cerrno>
#include <csignal>
#include <iostream>
#include <streambuf>
#include <unistd.h>

namespace platform {

namespace {

// Writes straight to descriptor 2 and always reports success: a failed write is dropped, and the
// stream never turns bad, which would silence every later line.
class ForgivingStandardError : public std::streambuf {
protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char character = traits_type::to_char_type(c);
            xsputn(&character, 1);
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* text, std::streamsize size) override {
        for (std::streamsize written = 0; written < size;) {
            const auto n = ::write(STDERR_FILENO, text + written, static_cast<std::size_t>(size - written));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            written += n;
        }
        return size;
    }
};

// Not SIG_IGN: an ignored signal stays ignored in the programs this one starts, a handler does not.
void noticeNothing(int) {}

} // namespace

void surviveFailingStandardError() {
    struct sigaction action {};
    action.sa_handler = noticeNothing;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGPIPE, &action, nullptr);

    // Never destroyed: lines written at exit, after static objects are gone, still need it.
    static auto* const forgiving = new ForgivingStandardError;
    std::cerr.rdbuf(forgiving);
}

} // namespace platform
