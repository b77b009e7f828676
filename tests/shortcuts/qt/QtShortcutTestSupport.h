#pragma once

#include "ShortcutTestSupport.h"
#include "platform/fake/FakeKeyCodeTranslator.h"
#include "platform/UserDefaults.h"
#include "support/OffscreenApplication.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace zentaris::testing {

// The shared registry over fakes, English module texts, and key events whose native numbers go
// through a fake translator, on the offscreen platform.
struct QtShortcutScene : ::testing::Test {
    ShortcutCaptionEnvironment captions;
    platform::MemoryUserDefaults defaults;
    platform::fake::FakeHotKeys hotKeys;
    platform::fake::FakeMainQueue queue;
    platform::fake::FakeKeyCodeTranslator translator;

    QtShortcutScene() {
        offscreenApplication();
        platform::UserDefaults::installStandard(&defaults);
        platform::HotKeys::installShared(&hotKeys);
        platform::MainQueue::installMain(&queue);
        platform::KeyCodeTranslator::install(&translator);
        GlobalShortcuts::Registry::resetShared();
    }
    ~QtShortcutScene() override {
        GlobalShortcuts::Registry::resetShared();
        platform::KeyCodeTranslator::install(nullptr);
        platform::HotKeys::installShared(nullptr);
    }

    bool live(const GlobalShortcuts::Shortcut& s) const {
        return hotKeys.isRegistered(static_cast<std::uint32_t>(s.carbonKeyCode), static_cast<std::uint32_t>(s.carbonModifiers));
    }

    // Presses a key as the window system would deliver it to `target`: through the application.
    static void pressKey(QWidget* target, GlobalShortcuts::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                         int qtKey = Qt::Key_A) {
        QKeyEvent event(QEvent::KeyPress, qtKey, modifiers,
                        platform::fake::FakeKeyCodeTranslator::nativeKeyFor(static_cast<std::uint32_t>(key.rawValue)), 0, 0);
        QApplication::sendEvent(target, &event);
    }
};

} // namespace zentaris::testing
