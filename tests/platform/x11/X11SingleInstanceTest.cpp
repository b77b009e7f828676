// One holder of the display per user: later claims reach the holder, the claim ends with its
// connection, and claims made at the same moment leave exactly one holder.

#include "platform/x11/X11SingleInstance.h"
#include "support/PrivateDisplay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <optional>
#include <thread>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

using platform::x11::X11Connection;
using platform::x11::X11SingleInstance;
using zentaris::testing::PrivateDisplay;

namespace {

PrivateDisplay& bareDisplay() {
    static PrivateDisplay display({.windowManager = {}});
    return display;
}

std::unique_ptr<X11Connection> connect() { return X11Connection::open(bareDisplay().name().c_str()); }

// Pumps `connection` until `done` or a generous deadline.
bool pumpUntil(X11Connection& connection, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < deadline) connection.waitAndPump(0.05);
    return done();
}

// Sends a client message of `type` from `sender` to the window that holds `user`'s claim.
void sendToHolder(X11Connection& sender, const std::string& user, const char* type) {
    const xcb_atom_t selection = sender.atom(X11SingleInstance::selectionName(user));
    auto* owner = xcb_get_selection_owner_reply(sender.xcb(), xcb_get_selection_owner(sender.xcb(), selection), nullptr);
    ASSERT_TRUE(owner && owner->owner != XCB_WINDOW_NONE);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = owner->owner;
    message.type = sender.atom(type);
    xcb_send_event(sender.xcb(), 0, owner->owner, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    std::free(owner);
    sender.sync();
}

} // namespace

TEST(X11SingleInstance, ALaterClaimHandsItsRequestToTheHolder) {
    auto first = connect();
    auto second = connect();
    ASSERT_TRUE(first && second);
    auto held = X11SingleInstance::claim(*first, "hand-over");
    ASSERT_TRUE(held.held);
    EXPECT_FALSE(held.handedOver);
    int received = 0;
    held.held->onRequest([&] { ++received; });

    // Any client may send anything to the holder's window: other messages are not the request.
    for (const char* type : {"_ZENTARIS_SOMETHING_ELSE", "WM_PROTOCOLS", "_NET_ACTIVE_WINDOW"}) {
        sendToHolder(*second, "hand-over", type);
    }
    const auto later = X11SingleInstance::claim(*second, "hand-over");
    EXPECT_FALSE(later.held);
    EXPECT_TRUE(later.handedOver);
    // It arrives after the others.
    ASSERT_TRUE(pumpUntil(*first, [&] { return received > 0; })) << "the holder never heard of the later start";
    EXPECT_EQ(received, 1);

    // Another user on the same display is a claim of its own.
    auto third = connect();
    const auto otherUser = X11SingleInstance::claim(*third, "someone-else");
    EXPECT_TRUE(otherUser.held);
    first->waitAndPump(0.2);
    EXPECT_EQ(received, 1);
}

TEST(X11SingleInstance, TheClaimEndsWithItsHolder) {
    // A holder killed outright: nothing of ours runs as it goes, the server closes its connection.
    auto next = connect(); // and the display is up before the fork
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        auto own = connect();
        const auto claim = X11SingleInstance::claim(*own, "killed");
        const char held = claim.held ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(held, 'y');
    EXPECT_TRUE(X11SingleInstance::claim(*next, "killed").handedOver);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    auto claim = X11SingleInstance::claim(*next, "killed");
    EXPECT_TRUE(claim.held) << "the display is still held after its holder was killed";

    // A holder that ends in order gives it back too.
    auto after = connect();
    EXPECT_FALSE(X11SingleInstance::claim(*after, "killed").held);
    claim.held.reset();
    EXPECT_TRUE(X11SingleInstance::claim(*after, "killed").held);
}

TEST(X11SingleInstance, ClaimsAtTheSameMomentLeaveOneHolder) {
    constexpr int contenders = 6;
    for (int round = 0; round < 20; ++round) {
        const std::string user = "race-" + std::to_string(round);
        std::vector<std::unique_ptr<X11Connection>> connections;
        for (int i = 0; i < contenders; ++i) connections.push_back(connect());
        std::vector<X11SingleInstance::Claim> claims(contenders);
        std::atomic<int> ready = 0;
        std::vector<std::thread> threads;
        for (int i = 0; i < contenders; ++i) {
            threads.emplace_back([&, i] {
                ++ready;
                while (ready < contenders) std::this_thread::yield();
                claims[i] = X11SingleInstance::claim(*connections[i], user);
            });
        }
        for (auto& thread : threads) thread.join();
        int holders = 0, handedOver = 0;
        for (const auto& claim : claims) {
            holders += claim.held ? 1 : 0;
            handedOver += claim.handedOver ? 1 : 0;
        }
        EXPECT_EQ(holders, 1) << "round " << round;
        EXPECT_EQ(handedOver, contenders - 1) << "round " << round;
    }
}
