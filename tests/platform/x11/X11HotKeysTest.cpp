#include "platform/fake/FakeMainQueue.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11KeyboardLayout.h"
#include "shortcuts/Registry.h"
#include "support/PrivateDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

using namespace GlobalShortcuts;
using platform::x11::X11Connection;
using zentaris::testing::PrivateDisplay;

namespace {

const Shortcut optCmdLeft{Key::leftArrow.rawValue, CarbonModifier::option | CarbonModifier::command};
const Shortcut ctrlShiftK{Key::k.rawValue, CarbonModifier::control | CarbonModifier::shift};

PrivateDisplay& sharedDisplay() {
    static PrivateDisplay display;
    return display;
}

// Another program on the same display, holding key grabs of its own.
struct OtherClient {
    std::unique_ptr<X11Connection> connection;
    explicit OtherClient(const std::string& display) : connection(X11Connection::open(display.c_str())) {}
    void grab(std::uint16_t mask, xcb_keycode_t keycode) {
        xcb_grab_key(connection->xcb(), 1, connection->root(), mask, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        connection->sync();
    }
    bool canGrab(std::uint16_t mask, xcb_keycode_t keycode) {
        auto cookie = xcb_grab_key_checked(connection->xcb(), 1, connection->root(), mask, keycode,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        auto* error = xcb_request_check(connection->xcb(), cookie);
        const bool granted = error == nullptr;
        std::free(error);
        if (granted) xcb_ungrab_key(connection->xcb(), keycode, connection->root(), mask);
        connection->sync();
        return granted;
    }
};

struct X11HotKeysTest : ::testing::Test {
    PrivateDisplay& display = sharedDisplay();
    std::unique_ptr<X11Connection> connection = X11Connection::open(display.name().c_str());
    platform::x11::X11Keymap keymap{*connection};
    platform::x11::X11HotKeys hotKeys{*connection, keymap};
    platform::x11::X11KeyboardLayout layout{keymap};
    platform::MemoryUserDefaults defaults;
    platform::NotificationCenter center;
    platform::fake::FakeMainQueue queue;
    std::ostringstream printed;
    Registry registry{defaults, center, hotKeys, queue, printed};
    int presses = 0;

    X11HotKeysTest() { platform::KeyboardLayout::install(&layout); }
    ~X11HotKeysTest() override { platform::KeyboardLayout::install(nullptr); }

    void SetUp() override {
        if (!zentaris::testing::programAvailable("xdotool")) GTEST_SKIP() << "xdotool is missing";
    }

    // Sends keys from another client and pumps our connection until `done` or two seconds pass.
    bool sendAndWait(const std::vector<std::string>& xdotool, const std::function<bool()>& done) {
        connection->flush();
        if (display.run(xdotool) != 0) return false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done() && std::chrono::steady_clock::now() < deadline) connection->waitAndPump(0.05);
        return done();
    }
    // Lets events that may still come arrive, for checks that nothing more happened.
    void settle() {
        for (int i = 0; i < 6; ++i) connection->waitAndPump(0.05);
    }
    xcb_keycode_t leftKeycode() { return *keymap.keycodeForVirtualKey(static_cast<std::uint32_t>(Key::leftArrow.rawValue)); }
};

} // namespace

TEST_F(X11HotKeysTest, AStoredShortcutFiresWhileAnotherWindowHasTheFocus) {
    display.spawn({"xterm"});
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    registry.onKeyDown(Name("leftHalf"), [this] { ++presses; });
    EXPECT_TRUE(sendAndWait({"xdotool", "key", "super+alt+Left"}, [&] { return presses == 1; }));
    ASSERT_EQ(display.run({"xdotool", "key", "super+alt+Right"}), 0);
    settle();
    EXPECT_EQ(presses, 1) << "another chord is not ours";
    EXPECT_EQ(printed.str(), "");
}

TEST_F(X11HotKeysTest, AHeldChordFiresOnceAndReleasesOnce) {
    int releases = 0;
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    registry.onKeyDown(Name("leftHalf"), [this] { ++presses; });
    registry.onKeyUp(Name("leftHalf"), [&] { ++releases; });
    ASSERT_EQ(display.run({"xdotool", "keydown", "super+alt+Left"}), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(900)); // past the server's repeat delay
    EXPECT_TRUE(sendAndWait({"xdotool", "keyup", "Left", "keyup", "alt", "keyup", "super"}, [&] { return releases == 1; }));
    settle();
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(releases, 1);
}

TEST_F(X11HotKeysTest, NumLockAndCapsLockDoNotGetInTheWay) {
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    registry.onKeyDown(Name("leftHalf"), [this] { ++presses; });
    ASSERT_NE(keymap.numLockMask(), 0);
    ASSERT_EQ(display.run({"xdotool", "key", "Num_Lock", "key", "Caps_Lock"}), 0);
    EXPECT_TRUE(sendAndWait({"xdotool", "key", "super+alt+Left"}, [&] { return presses == 1; }));
    ASSERT_EQ(display.run({"xdotool", "key", "Num_Lock", "key", "Caps_Lock"}), 0);
}

TEST_F(X11HotKeysTest, AChordHeldByAnotherClientFailsWithTheLineAndOthersStillWork) {
    OtherClient other(display.name());
    other.grab(XCB_MOD_MASK_4 | XCB_MOD_MASK_1 | keymap.numLockMask(), leftKeycode());
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    EXPECT_EQ(printed.str(), "Error registering hotkey ⌥⌘←: -9878\n");
    connection->sync(); // our undoing reaches the server before the other client's trial
    EXPECT_TRUE(other.canGrab(XCB_MOD_MASK_4 | XCB_MOD_MASK_1, leftKeycode())) << "the other combinations were undone";
    EXPECT_TRUE(registry.engine().isSystemShortcut(optCmdLeft));

    registry.setShortcut(ctrlShiftK, Name("center"));
    registry.onKeyDown(Name("center"), [this] { ++presses; });
    EXPECT_TRUE(sendAndWait({"xdotool", "key", "ctrl+shift+k"}, [&] { return presses == 1; }));
}

TEST_F(X11HotKeysTest, ClearingTheNameReleasesTheGrab) {
    OtherClient other(display.name());
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    EXPECT_FALSE(other.canGrab(XCB_MOD_MASK_4 | XCB_MOD_MASK_1, leftKeycode()));
    EXPECT_FALSE(registry.engine().isSystemShortcut(optCmdLeft)) << "our own grab is no conflict";
    registry.setShortcut(std::nullopt, Name("leftHalf"));
    connection->sync(); // our ungrab reaches the server before the other client's grab
    EXPECT_TRUE(other.canGrab(XCB_MOD_MASK_4 | XCB_MOD_MASK_1, leftKeycode()));
    EXPECT_TRUE(other.canGrab(XCB_MOD_MASK_4 | XCB_MOD_MASK_1 | XCB_MOD_MASK_LOCK | keymap.numLockMask(), leftKeycode()));
}

TEST_F(X11HotKeysTest, TwoChordsOnOneKeyEachFireTheirOwnHandlerAndOutliveEachOther) {
    const Shortcut shiftOptCmdLeft{Key::leftArrow.rawValue, CarbonModifier::shift | CarbonModifier::option | CarbonModifier::command};
    constexpr std::uint16_t superAlt = XCB_MOD_MASK_4 | XCB_MOD_MASK_1;
    constexpr std::uint16_t shiftSuperAlt = superAlt | XCB_MOD_MASK_SHIFT;
    int shifted = 0;
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    registry.setShortcut(shiftOptCmdLeft, Name("previousScreen"));
    registry.onKeyDown(Name("leftHalf"), [this] { ++presses; });
    registry.onKeyDown(Name("previousScreen"), [&] { ++shifted; });
    EXPECT_EQ(printed.str(), "");

    EXPECT_TRUE(sendAndWait({"xdotool", "key", "shift+super+alt+Left"}, [&] { return shifted == 1; }));
    settle();
    EXPECT_EQ(presses, 0) << "the chord without Shift stays quiet";
    EXPECT_TRUE(sendAndWait({"xdotool", "key", "super+alt+Left"}, [&] { return presses == 1; }));
    settle();
    EXPECT_EQ(shifted, 1) << "the chord with Shift stays quiet";

    // Letting one go keeps the other grabbed and answering.
    OtherClient other(display.name());
    registry.setShortcut(std::nullopt, Name("leftHalf"));
    connection->sync();
    EXPECT_FALSE(other.canGrab(shiftSuperAlt, leftKeycode())) << "the Shift chord is still ours";
    EXPECT_FALSE(other.canGrab(shiftSuperAlt | keymap.numLockMask(), leftKeycode()));
    EXPECT_TRUE(sendAndWait({"xdotool", "key", "shift+super+alt+Left"}, [&] { return shifted == 2; }));
    EXPECT_TRUE(other.canGrab(superAlt, leftKeycode())) << "the released chord is free";
    ASSERT_EQ(display.run({"xdotool", "key", "super+alt+Left"}), 0);
    settle();
    EXPECT_EQ(presses, 1);

    // And the other way round.
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    registry.setShortcut(std::nullopt, Name("previousScreen"));
    connection->sync();
    EXPECT_FALSE(other.canGrab(superAlt, leftKeycode()));
    EXPECT_TRUE(other.canGrab(shiftSuperAlt, leftKeycode()));
    EXPECT_TRUE(sendAndWait({"xdotool", "key", "super+alt+Left"}, [&] { return presses == 2; }));
    settle();
    EXPECT_EQ(shifted, 2);
}

TEST_F(X11HotKeysTest, FunctionAndUnmappedKeysAreRefusedNeverGrabbed) {
    OtherClient other(display.name());
    registry.setShortcut(Shortcut{Key::leftArrow.rawValue, CarbonModifier::function | CarbonModifier::command}, Name("a"));
    registry.setShortcut(Shortcut{Key::function.rawValue, CarbonModifier::command}, Name("b"));
    registry.setShortcut(Shortcut{200, CarbonModifier::command}, Name("c"));
    EXPECT_EQ(printed.str(), "Error registering hotkey ⌘\U0001F310\uFE0E←: -50\n"
                             "Error registering hotkey ⌘\uFFFD: -50\n"
                             "Error registering hotkey ⌘\uFFFD: -50\n");
    EXPECT_TRUE(other.canGrab(XCB_MOD_MASK_4, leftKeycode()));
}

TEST_F(X11HotKeysTest, WhileAMenuIsOpenTheChordArrivesAsRawKeys) {
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    registry.onKeyDown(Name("leftHalf"), [this] { ++presses; });
    center.post(menuDidBeginTrackingNotification);
    connection->sync();
    OtherClient other(display.name());
    EXPECT_TRUE(other.canGrab(XCB_MOD_MASK_4 | XCB_MOD_MASK_1, leftKeycode())) << "taken down while the menu is open";
    EXPECT_TRUE(sendAndWait({"xdotool", "key", "super+alt+Left"}, [&] { return presses == 1; }));
    settle();
    EXPECT_EQ(presses, 1);
    center.post(menuDidEndTrackingNotification);
    EXPECT_FALSE(other.canGrab(XCB_MOD_MASK_4 | XCB_MOD_MASK_1, leftKeycode()));
    EXPECT_TRUE(sendAndWait({"xdotool", "key", "super+alt+Left"}, [&] { return presses == 2; }));
}

TEST_F(X11HotKeysTest, CaptionsFollowTheLayoutAndGrabsFollowAMappingChange) {
    EXPECT_EQ(layout.displayText(static_cast<std::uint16_t>(Key::z.rawValue)), "z");
    EXPECT_EQ((Shortcut{Key::d.rawValue, CarbonModifier::shift | CarbonModifier::command}).description(), "⇧⌘D");
    registry.setShortcut(ctrlShiftK, Name("center"));
    registry.onKeyDown(Name("center"), [this] { ++presses; });

    ASSERT_EQ(display.run({"setxkbmap", "-display", display.name(), "ru,de"}), 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (layout.displayText(static_cast<std::uint16_t>(Key::z.rawValue)) != "y" &&
           std::chrono::steady_clock::now() < deadline) {
        connection->waitAndPump(0.05);
    }
    EXPECT_EQ(layout.displayText(static_cast<std::uint16_t>(Key::z.rawValue)), "y") << "first ASCII-capable layout";
    EXPECT_TRUE(sendAndWait({"xdotool", "key", "ctrl+shift+k"}, [&] { return presses == 1; }));
    ASSERT_EQ(display.run({"setxkbmap", "-display", display.name(), "us"}), 0);
    settle();
}
