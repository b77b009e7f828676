// Preloaded into the measured program: counts the X requests it sends and the round trips it
// waits for, on every xcb connection (Xlib and Qt go through xcb too), into a shared file that
// the benchmark reads. A round trip is a wait for an answer to a request sent after the last wait
// began: requests sent together and answered in one wait count once.
#include "XRequestCounter.h"

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct Sequences {
    std::uint64_t lastSent = 0;
    std::uint64_t answeredUpTo = 0; // every request up to this one has been waited for
};

std::mutex lock;
std::map<xcb_connection_t*, Sequences>& connections() {
    static std::map<xcb_connection_t*, Sequences> all;
    return all;
}

zentaris::bench::XRequestCounts* counts() {
    static zentaris::bench::XRequestCounts* shared = [] {
        const char* path = std::getenv(zentaris::bench::xRequestCountFileVariable);
        if (!path) return static_cast<zentaris::bench::XRequestCounts*>(nullptr);
        const int fd = ::open(path, O_RDWR);
        if (fd < 0) return static_cast<zentaris::bench::XRequestCounts*>(nullptr);
        void* memory = ::mmap(nullptr, sizeof(zentaris::bench::XRequestCounts), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ::close(fd);
        return memory == MAP_FAILED ? nullptr : static_cast<zentaris::bench::XRequestCounts*>(memory);
    }();
    return shared;
}

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

void sent(xcb_connection_t* c, std::uint64_t sequence) {
    if (sequence == 0) return;
    std::lock_guard guard(lock);
    connections()[c].lastSent = sequence;
    if (auto* shared = counts()) shared->requests.fetch_add(1);
}

void waiting(xcb_connection_t* c, std::uint64_t request) {
    std::lock_guard guard(lock);
    auto& sequences = connections()[c];
    // 32-bit sequences from the older calls: compare the low halves.
    const std::uint64_t answered = request > 0xFFFFFFFFu ? sequences.answeredUpTo : (sequences.answeredUpTo & 0xFFFFFFFFu);
    if (request <= answered && sequences.answeredUpTo != 0) return;
    sequences.answeredUpTo = sequences.lastSent;
    if (auto* shared = counts()) shared->roundTrips.fetch_add(1);
}

} // namespace

extern "C" {

uint64_t xcb_send_request_with_fds64(xcb_connection_t* c, int flags, struct iovec* vector, const xcb_protocol_request_t* request,
                                     unsigned int numFds, int* fds) {
    static auto real = next<decltype(&xcb_send_request_with_fds64)>("xcb_send_request_with_fds64");
    const auto sequence = real(c, flags, vector, request, numFds, fds);
    sent(c, sequence);
    return sequence;
}

void* xcb_wait_for_reply(xcb_connection_t* c, unsigned int request, xcb_generic_error_t** e) {
    static auto real = next<decltype(&xcb_wait_for_reply)>("xcb_wait_for_reply");
    waiting(c, request);
    return real(c, request, e);
}

void* xcb_wait_for_reply64(xcb_connection_t* c, uint64_t request, xcb_generic_error_t** e) {
    static auto real = next<decltype(&xcb_wait_for_reply64)>("xcb_wait_for_reply64");
    waiting(c, request);
    return real(c, request, e);
}

xcb_generic_error_t* xcb_request_check(xcb_connection_t* c, xcb_void_cookie_t cookie) {
    static auto real = next<decltype(&xcb_request_check)>("xcb_request_check");
    waiting(c, cookie.sequence);
    return real(c, cookie);
}

} // extern "C"
