#pragma once

#include "../support/TemporaryDirectory.h"
#include "support/OffscreenApplication.h"
#include "platform/Bundle.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "platform/fake/FakeAccessibility.h"
#include "platform/fake/FakeAlertPresenter.h"
#include "platform/fake/FakeHostInformation.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeHttpClient.h"
#include "platform/fake/FakeMainQueue.h"
#include "platform/fake/FakeScreens.h"
#include "platform/fake/FakeWorkspace.h"
#include "preferences/LanguageManager.h"
#include "preferences/ShortcutSettings.h"
#include "services/UpdateService.h"
#include "shortcuts/Registry.h"
#include "settings/SupportSettingsView.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace zentaris::testing {

// The x of the rightmost dark pixel a widget draws, in `ancestor`'s coordinates (-1 if none):
// where a text really stands, whatever width its label was given.
inline int rightmostInk(QWidget* widget, QWidget* ancestor) {
    const QImage drawn = widget->grab().toImage();
    int rightmost = -1;
    for (int x = 0; x < drawn.width(); ++x) {
        for (int y = 0; y < drawn.height(); ++y) {
            if (qGray(drawn.pixel(x, y)) < 128) rightmost = x;
        }
    }
    return rightmost < 0 ? -1 : widget->mapTo(ancestor, QPoint(rightmost, 0)).x();
}

// The shared models over an in-memory store, fakes for everything outside, and the notifications
// posted on the default centre.
struct SettingsPageFixture : ::testing::Test {
    platform::MemoryUserDefaults defaults;
    platform::fake::FakeMainQueue queue;
    platform::fake::FakeWorkspace workspace;
    platform::fake::FakeHttpClient http;
    platform::fake::FakeAlertPresenter alerts;
    platform::fake::FakeScreens screens;
    platform::fake::FakeAccessibility accessibility;
    platform::fake::FakeHostInformation host;
    platform::fake::FakeHotKeys hotKeys; // the Shortcuts page's recorders read the registered keys
    platform::Bundle originalBundle = platform::Bundle::main();
    std::vector<std::string> posted;
    std::vector<platform::ObservationToken> watchers;

    SettingsPageFixture() {
        offscreenApplication();
        platform::UserDefaults::installStandard(&defaults);
        platform::MainQueue::installMain(&queue);
        platform::HotKeys::installShared(&hotKeys);
        defaults.set(LanguageManager::selectedLanguageKey, std::string("en"));
        resetModels();
        UpdateService::configureShared(updateDependencies());
    }

    ~SettingsPageFixture() override {
        resetModels();
        platform::Bundle::setMain(originalBundle);
        platform::HotKeys::installShared(nullptr);
        platform::MainQueue::installMain(nullptr);
        platform::UserDefaults::installStandard(nullptr);
    }

    // Fresh shared models, loaded now so that what their loading writes and posts is not counted.
    void resetModels() {
        LanguageManager::resetShared();
        ShortcutSettings::resetShared();
        UpdateService::resetShared();
        GlobalShortcuts::Registry::resetShared();
        LanguageManager::shared();
        ShortcutSettings::shared();
        posted.clear();
    }

    UpdateService::Dependencies updateDependencies() {
        return {defaults, queue, http, alerts, workspace, [] {}, std::string("3.1.4"), "https://updates.example.org",
                "https://example.org/product", SystemLanguageTexts()};
    }

    SupportSettingsView::Dependencies supportDependencies() {
        return {workspace, queue, {host, platform::Bundle::main(), screens, accessibility, defaults}, "help@example.org"};
    }

    // Texts from a bundle of our own: English and German folders with the given lines.
    void useLanguageFolders(const std::string& english, const std::string& german) {
        writeFile(bundleFolder / "en.lproj" / "messages.txt", english);
        writeFile(bundleFolder / "de.lproj" / "messages.txt", german);
        platform::Bundle::setMain(platform::Bundle(bundleFolder.path(), platform::Bundle::InfoDictionary{}));
        LanguageManager::resetShared();
        LanguageManager::shared();
        posted.clear();
    }

    // The text of a key in the current language.
    static QString text(const std::string& key) {
        return QString::fromStdString(LanguageManager::shared().localizedString(key));
    }

    void watch(const std::string& name) {
        watchers.push_back(platform::NotificationCenter::defaultCenter().addObserver(
            name, [this](const platform::Notification& note) { posted.push_back(note.name); }));
    }
    int count(const std::string& name) const { return static_cast<int>(std::count(posted.begin(), posted.end(), name)); }

    // Lets the deferred redraws run.
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

private:
    TemporaryDirectory bundleFolder;
};

} // namespace zentaris::testing
