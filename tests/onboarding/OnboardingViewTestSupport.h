#pragma once

#include "onboarding/OnboardingState.h"
#include "platform/Bundle.h"
#include "platform/HotKeys.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeMainQueue.h"
#include "preferences/LanguageManager.h"
#include "preferences/ShortcutSettings.h"
#include "shortcuts/Registry.h"
#include "support/OffscreenApplication.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QWidget>

#include <vector>

namespace zentaris::testing {

// The shared tutorial, language and settings objects over in-memory defaults and virtual time,
// on the offscreen Qt platform.
struct TutorialFixture : ::testing::Test {
    platform::MemoryUserDefaults defaults;
    platform::fake::FakeMainQueue queue{1'800'000'000.0};
    platform::fake::FakeHotKeys hotKeys;
    platform::Bundle originalBundle = platform::Bundle::main();

    TutorialFixture() {
        offscreenApplication();
        platform::UserDefaults::installStandard(&defaults);
        platform::MainQueue::installMain(&queue);
        platform::HotKeys::installShared(&hotKeys);
        resetShared();
    }
    ~TutorialFixture() override {
        resetShared();
        platform::Bundle::setMain(originalBundle);
        platform::HotKeys::installShared(nullptr);
        platform::MainQueue::installMain(nullptr);
        platform::UserDefaults::installStandard(nullptr);
    }

    static void resetShared() {
        OnboardingState::resetShared();
        LanguageManager::resetShared();
        ShortcutSettings::resetShared();
        GlobalShortcuts::Registry::resetShared();
    }

    // Lets queued relabelling run.
    static void settle() { QCoreApplication::processEvents(); }

    // The widgets of one class below `root` (our widget classes have no meta-object of their own).
    template <typename T>
    static std::vector<T*> childrenOf(const QWidget& root) {
        std::vector<T*> found;
        for (auto* child : root.findChildren<QWidget*>()) {
            if (auto* match = dynamic_cast<T*>(child)) found.push_back(match);
        }
        return found;
    }

    // Whether some label below `root` shows exactly `text`.
    static bool showsLabel(const QWidget& root, const QString& text) {
        for (const auto* label : root.findChildren<QLabel*>()) {
            if (label->text() == text) return true;
        }
        return false;
    }
};

// The pixels of `widget` and its children as painted on a transparent ground.
inline QImage painted(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

} // namespace zentaris::testing
