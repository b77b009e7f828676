// Real key presses on a private X display reach the recorder as key positions and modifier flags.

#include "platform/KeyCodeTranslator.h"
#include "platform/fake/FakeMainQueue.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11KeyCodeTranslator.h"
#include "platform/x11/X11Keymap.h"
#include "shortcuts/qt/LocalEventMonitor.h"
#include "shortcuts/qt/QtKeyEvents.h"
#include "shortcuts/Registry.h"
#include "support/PrivateDisplay.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdlib>
#include <sstream>

using namespace zentaris;
using GlobalShortcuts::LocalEventMonitor;
using GlobalShortcuts::shortcutKeyEvent;
using GlobalShortcuts::KeyEvent;
using GlobalShortcuts::ModifierFlags;

// A combination the program grabbed as a hot key reaches its own window only while the hot keys
// are down, as they are while a recorder records in the active window.
TEST(RecorderKeysX11Test, PressedCombinationsArriveAsKeyPositionsWithSuperAsCommand) {
    zentaris::testing::PrivateDisplay display;
    setenv("DISPLAY", display.name().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    auto connection = platform::x11::X11Connection::open(display.name().c_str());
    ASSERT_TRUE(connection);
    platform::x11::X11Keymap keymap(*connection);
    ASSERT_TRUE(keymap.isLoaded());
    platform::x11::X11KeyCodeTranslator translator(keymap);
    platform::KeyCodeTranslator::install(&translator);

    // Our hot keys, on a connection of their own as in the program.
    auto hotKeyConnection = platform::x11::X11Connection::open(display.name().c_str());
    ASSERT_TRUE(hotKeyConnection);
    platform::x11::X11Keymap hotKeyKeymap(*hotKeyConnection);
    platform::x11::X11HotKeys hotKeys(*hotKeyConnection, hotKeyKeymap);
    platform::MemoryUserDefaults defaults;
    platform::NotificationCenter center;
    platform::fake::FakeMainQueue queue;
    std::ostringstream printed;
    GlobalShortcuts::Registry registry(defaults, center, hotKeys, queue, printed);
    int hotKeyPresses = 0;
    const GlobalShortcuts::Name moveLeft("moveLeft");
    registry.setShortcut(GlobalShortcuts::Shortcut{123, GlobalShortcuts::CarbonModifier::command | GlobalShortcuts::CarbonModifier::shift},
                         moveLeft);
    registry.onKeyDown(moveLeft, [&hotKeyPresses] { ++hotKeyPresses; });
    auto hotKeysDown = registry.takeHotKeysDown();
    hotKeyConnection->flush();

    int argc = 1;
    char name[] = "recorder_keys";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QLineEdit field;
    field.setWindowTitle(QStringLiteral("RecorderTarget"));
    field.show();
    field.activateWindow();
    field.setFocus();

    std::vector<KeyEvent> seen;
    LocalEventMonitor monitor({QEvent::KeyPress}, [&seen](QObject*, QEvent* event) {
        if (auto key = shortcutKeyEvent(*static_cast<QKeyEvent*>(event))) seen.push_back(*key);
        return true;
    });
    const auto waitFor = [&](std::size_t count) {
        QElapsedTimer timer;
        timer.start();
        while (seen.size() < count && timer.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    QElapsedTimer shown;
    shown.start();
    while (!field.isActiveWindow() && shown.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    ASSERT_EQ(display.run({"xdotool", "search", "--sync", "--name", "RecorderTarget", "windowactivate", "--sync"}), 0);
    ASSERT_EQ(display.run({"xdotool", "key", "ctrl+alt+k"}), 0);
    waitFor(1);
    ASSERT_EQ(display.run({"xdotool", "key", "super+shift+Left"}), 0);
    waitFor(2);
    ASSERT_EQ(display.run({"xdotool", "key", "Escape"}), 0);
    waitFor(3);

    hotKeysDown.cancel();
    hotKeyConnection->flush();
    ASSERT_EQ(display.run({"xdotool", "key", "super+shift+Left"}), 0);
    QElapsedTimer pumped;
    pumped.start();
    while (hotKeyPresses == 0 && pumped.elapsed() < 3000) {
        hotKeyConnection->waitAndPump(0.05);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    platform::KeyCodeTranslator::install(nullptr);
    EXPECT_EQ(hotKeyPresses, 1) << "grabbed again once the hold ended";
    EXPECT_EQ(printed.str(), "");

    ASSERT_EQ(seen.size(), 3u) << "the grabbed chord reached the window only while the hot keys were down";
    EXPECT_EQ(seen[0].keyCode, 40);
    EXPECT_EQ(seen[0].modifierFlags, (ModifierFlags{ModifierFlags::control | ModifierFlags::option}));
    EXPECT_EQ(seen[1].keyCode, 123);
    EXPECT_EQ(seen[1].modifierFlags, (ModifierFlags{ModifierFlags::command | ModifierFlags::shift}));
    EXPECT_EQ(seen[2].keyCode, 53);
    EXPECT_EQ(seen[2].modifierFlags, ModifierFlags{});
    EXPECT_TRUE(field.text().isEmpty()) << "the monitor swallowed every press";
}
