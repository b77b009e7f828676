// Real key presses on a private X display reach the recorder as key positions and modifier flags.

#include "platform/KeyCodeTranslator.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeyCodeTranslator.h"
#include "platform/x11/X11Keymap.h"
#include "settings/LocalEventMonitor.h"
#include "settings/QtKeyEvents.h"
#include "support/PrivateDisplay.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdlib>

using namespace zentaris;
using GlobalShortcuts::KeyEvent;
using GlobalShortcuts::ModifierFlags;

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
    platform::KeyCodeTranslator::install(nullptr);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].keyCode, 40);
    EXPECT_EQ(seen[0].modifierFlags, (ModifierFlags{ModifierFlags::control | ModifierFlags::option}));
    EXPECT_EQ(seen[1].keyCode, 123);
    EXPECT_EQ(seen[1].modifierFlags, (ModifierFlags{ModifierFlags::command | ModifierFlags::shift}));
    EXPECT_EQ(seen[2].keyCode, 53);
    EXPECT_EQ(seen[2].modifierFlags, ModifierFlags{});
    EXPECT_TRUE(field.text().isEmpty()) << "the monitor swallowed every press";
}
