#include "platform/x11/X11Connection.h"
#include "platform/x11/X11QtEventPump.h"
#include "support/PrivateDisplay.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using platform::x11::X11Connection;
using platform::x11::X11QtEventPump;
using zentaris::testing::PrivateDisplay;

namespace {

PrivateDisplay& bareDisplay() {
    static PrivateDisplay display({.windowManager = {}});
    return display;
}

void changeRootProperty(X11Connection& connection, const char* name, std::uint32_t value) {
    xcb_change_property(connection.xcb(), XCB_PROP_MODE_REPLACE, connection.root(), connection.atom(name),
                        XCB_ATOM_CARDINAL, 32, 1, &value);
}

void watchRootProperties(X11Connection& connection) {
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection.xcb(), connection.root(), XCB_CW_EVENT_MASK, &mask);
}

// The event when it tells of a change of this property, else null.
const xcb_property_notify_event_t* changeOf(const xcb_generic_event_t& event, xcb_atom_t atom) {
    if ((event.response_type & ~0x80) != XCB_PROPERTY_NOTIFY) return nullptr;
    const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
    return notify.atom == atom ? &notify : nullptr;
}

} // namespace

TEST(X11Connection, OpensOnlyWhereAServerIs) {
    EXPECT_EQ(X11Connection::open(":97531"), nullptr);
    auto connection = X11Connection::open(bareDisplay().name().c_str());
    ASSERT_NE(connection, nullptr);
    EXPECT_TRUE(connection->isConnected());
    EXPECT_NE(connection->root(), XCB_WINDOW_NONE);
    EXPECT_GE(connection->fileDescriptor(), 0);
    EXPECT_EQ(connection->ewmh()->connection, connection->xcb());
    const auto atom = connection->atom("_ZENTARIS_TEST");
    EXPECT_NE(atom, XCB_ATOM_NONE);
    EXPECT_EQ(connection->atom("_ZENTARIS_TEST"), atom);
    EXPECT_EQ(connection->atomName(atom), "_ZENTARIS_TEST");
}

TEST(X11Connection, EventsQueuedDuringAReplyWaitAreDispatchedByPump) {
    auto connection = X11Connection::open(bareDisplay().name().c_str());
    ASSERT_NE(connection, nullptr);
    watchRootProperties(*connection);
    const auto atom = connection->atom("_ZENTARIS_PUMP");
    std::vector<std::uint32_t> seen;
    auto token = connection->addEventListener([&](const xcb_generic_event_t& event) {
        if (const auto* change = changeOf(event, atom)) seen.push_back(change->time);
    });
    changeRootProperty(*connection, "_ZENTARIS_PUMP", 1);
    changeRootProperty(*connection, "_ZENTARIS_PUMP", 2);
    // The round trip makes xcb read both events into its private queue: the socket is then quiet.
    connection->sync();
    connection->pump();
    EXPECT_EQ(seen.size(), 2u);
    token.cancel();
    changeRootProperty(*connection, "_ZENTARIS_PUMP", 3);
    connection->sync();
    connection->pump();
    EXPECT_EQ(seen.size(), 2u);
}

TEST(X11Connection, EventsReadAheadReachCacheListenersAtOnceAndTheOthersAtTheNextPumpInOrder) {
    auto connection = X11Connection::open(bareDisplay().name().c_str());
    ASSERT_NE(connection, nullptr);
    watchRootProperties(*connection);
    const auto atom = connection->atom("_ZENTARIS_AHEAD");
    std::vector<std::string> seen;
    auto listen = [&](const std::string& who) {
        return [&seen, atom, who](const xcb_generic_event_t& event) {
            if (const auto* change = changeOf(event, atom)) seen.push_back(who + std::to_string(change->state));
        };
    };
    auto cache = connection->addCacheListener(listen("cache "));
    auto other = connection->addEventListener(listen("other "));
    changeRootProperty(*connection, "_ZENTARIS_AHEAD", 1);
    xcb_delete_property(connection->xcb(), connection->root(), atom);
    connection->sync();
    const auto before = connection->eventsRead();
    connection->readAhead();
    EXPECT_EQ(seen, (std::vector<std::string>{"cache 0", "cache 1"}));
    EXPECT_GE(connection->eventsRead(), before + 2);
    changeRootProperty(*connection, "_ZENTARIS_AHEAD", 2);
    connection->sync();
    connection->pump();
    EXPECT_EQ(seen, (std::vector<std::string>{"cache 0", "cache 1", "other 0", "other 1", "cache 0", "other 0"}))
        << "what was read ahead comes first, once to each listener";
}

TEST(X11Connection, ErrorsOfUncheckedRequestsGoToErrorListenersOnly) {
    auto connection = X11Connection::open(bareDisplay().name().c_str());
    ASSERT_NE(connection, nullptr);
    std::vector<int> errors;
    int events = 0;
    auto errorToken = connection->addErrorListener([&](const xcb_generic_error_t& error) { errors.push_back(error.error_code); });
    auto eventToken = connection->addEventListener([&](const xcb_generic_event_t&) { ++events; });
    xcb_map_window(connection->xcb(), 0x1fffffe); // no such window
    connection->sync();
    connection->pump();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], XCB_WINDOW);
    EXPECT_EQ(events, 0);
}

TEST(X11Connection, ListenersMayRemoveThemselvesWhileCalledAndTokensMayOutliveTheConnection) {
    auto connection = X11Connection::open(bareDisplay().name().c_str());
    ASSERT_NE(connection, nullptr);
    watchRootProperties(*connection);
    int calls = 0;
    platform::ObservationToken self;
    self = connection->addEventListener([&](const xcb_generic_event_t&) {
        ++calls;
        self.cancel();
    });
    changeRootProperty(*connection, "_ZENTARIS_SELF", 1);
    changeRootProperty(*connection, "_ZENTARIS_SELF", 2);
    connection->sync();
    connection->pump();
    EXPECT_EQ(calls, 1);
    auto survivor = connection->addErrorListener([](const xcb_generic_error_t&) {});
    connection.reset();
    survivor.cancel();
}

TEST(X11QtEventPump, DeliversEventsXcbQueuedBeforeTheLoopSleeps) {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    auto connection = X11Connection::open(bareDisplay().name().c_str());
    ASSERT_NE(connection, nullptr);
    X11QtEventPump pump(*connection);
    watchRootProperties(*connection);
    int seen = 0;
    QEventLoop loop;
    auto token = connection->addEventListener([&](const xcb_generic_event_t& event) {
        if ((event.response_type & ~0x80) != XCB_PROPERTY_NOTIFY) return;
        ++seen;
        loop.quit();
    });
    changeRootProperty(*connection, "_ZENTARIS_QT", 1);
    connection->sync(); // the event now sits in xcb's queue, not on the socket
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(seen, 1);

    // Read ahead: neither on the socket nor in xcb's queue any more.
    changeRootProperty(*connection, "_ZENTARIS_QT", 2);
    connection->sync();
    connection->readAhead();
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(seen, 2);
}
