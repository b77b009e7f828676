#pragma once

#include "../app/AppTestSupport.h"
#include "support/OffscreenApplication.h"
#include "platform/fake/FakeKeyCodeTranslator.h"
#include "preferences/LanguageManager.h"
#include "shortcuts/qt/QtKeyEvents.h"

#include <QApplication>
#include <QWidget>
#include <QKeyEvent>

#include <string>
#include <vector>

namespace zentaris::testing {

// A launched controller on the fake desktop, English texts, and key events whose native numbers
// go through a fake translator.
struct ShortcutsPageFixture : AppFixture {
    platform::fake::FakeKeyCodeTranslator translator;
    std::vector<std::string> posted;
    std::vector<platform::ObservationToken> watchers;

    ShortcutsPageFixture() {
        offscreenApplication();
        desktop.defaults().set(LanguageManager::selectedLanguageKey, std::string("en"));
        LanguageManager::resetShared();
        platform::KeyCodeTranslator::install(&translator);
        for (const char* name : {AppDelegate::shortcutsDidResetNotification, ShortcutSettings::statesDidChangeNotification}) {
            watchers.push_back(notifications.addObserver(name, [this](const platform::Notification& note) {
                posted.push_back(note.name);
            }));
        }
        launch();
        runQueue();
        posted.clear();
    }
    ~ShortcutsPageFixture() override { platform::KeyCodeTranslator::install(nullptr); }

    int count(const std::string& name) const { return static_cast<int>(std::count(posted.begin(), posted.end(), name)); }

    // Runs the queued work of the fake main queue.
    void runQueue() { desktop.mainQueue().advance(0); }

    // Presses a key as the window system would deliver it to `target`: through the application.
    static bool pressKey(QWidget* target, std::uint32_t virtualKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                         int qtKey = Qt::Key_A) {
        QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, platform::fake::FakeKeyCodeTranslator::nativeKeyFor(virtualKey),
                        0, 0);
        QApplication::sendEvent(target, &event);
        return event.isAccepted();
    }

    std::optional<GlobalShortcuts::Shortcut> stored(const GlobalShortcuts::Name& name) const {
        return GlobalShortcuts::getShortcut(name);
    }
};

} // namespace zentaris::testing
