// The alert for a settings change that could not be saved, as the user meets it on a real X server:
// shown once while it is open, dismissed with the keyboard, shown again for the next failure, and
// kept above the settings window it concerns when the user clicks there.

#include "platform/qt/QtAlertPresenter.h"
#include "platform/system/JsonFileUserDefaults.h"
#include "preferences/LanguageManager.h"
#include "shell/RememberedWindow.h"
#include "shell/SettingsSaveAlert.h"
#include "support/OffscreenApplication.h"
#include "support/PrivateDisplay.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace zentaris::testing {
namespace {

class SettingsSaveAlertX11 : public ::testing::Test {
protected:
    // One display for the suite, and the process's one application on it.
    static void SetUpTestSuite() {
        if (!programAvailable("Xvfb") || !programAvailable("openbox") || !programAvailable("xdotool")) return;
        display_ = new PrivateDisplay();
        setenv("DISPLAY", display_->name().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        offscreenApplication(); // on the platform chosen above
        connection_ = xcb_connect(display_->name().c_str(), nullptr);
    }
    static void TearDownTestSuite() {
        if (connection_) xcb_disconnect(connection_);
        delete display_;
    }

    void SetUp() override {
        if (!display_) GTEST_SKIP() << "Xvfb, openbox or xdotool is missing";
        platform::UserDefaults::installStandard(&languageDefaults_);
        languageDefaults_.set(LanguageManager::selectedLanguageKey, std::string("en"));
        LanguageManager::resetShared();
    }
    void TearDown() override {
        LanguageManager::resetShared();
        platform::UserDefaults::installStandard(nullptr);
    }

    // The alerts shown now (open, though perhaps not yet drawn).
    static std::vector<QMessageBox*> openAlerts() {
        std::vector<QMessageBox*> boxes;
        for (auto* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) boxes.push_back(box);
        }
        return boxes;
    }
    static bool oneAlertOnScreen() {
        const auto boxes = openAlerts();
        return boxes.size() == 1 && boxes.front()->windowHandle() && boxes.front()->windowHandle()->isExposed();
    }

    // Waits for the condition; the deadline only bounds a failing test, as a loaded machine is slow.
    template <typename Condition>
    static bool settle(Condition done) { return QTest::qWaitFor(done, 30000); }

    // Presses Return in the alert as the user would, once the window manager has given it the focus
    // and the program has seen that.
    static void pressReturnIn(QMessageBox* box) {
        const auto window = std::to_string(box->winId());
        display_->run({"xdotool", "windowactivate", "--sync", window});
        ASSERT_TRUE(settle([box] { return box->isActiveWindow(); })) << "the alert never got the focus";
        display_->run({"xdotool", "key", "--clearmodifiers", "Return"});
    }

    // The window manager's frame around a client: the child of the root it lies in.
    static xcb_window_t frameOf(xcb_window_t window) {
        for (;;) {
            std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
                xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr), &std::free);
            if (!tree || tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) return window;
            window = tree->parent;
        }
    }
    // Whether the server shows `upper` above `lower`, from its own stacking order of the root's children.
    static bool stackedAbove(const QWidget& upper, const QWidget& lower) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root), nullptr), &std::free);
        if (!tree) return false;
        const auto* children = xcb_query_tree_children(tree.get());
        const auto* end = children + xcb_query_tree_children_length(tree.get());
        const auto* upperAt = std::find(children, end, frameOf(static_cast<xcb_window_t>(upper.winId())));
        const auto* lowerAt = std::find(children, end, frameOf(static_cast<xcb_window_t>(lower.winId())));
        return upperAt != end && lowerAt != end && upperAt > lowerAt; // listed bottom to top
    }
    static bool viewable(xcb_window_t window) {
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr), &std::free);
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }
    static bool viewable(const QWidget& window) { return viewable(static_cast<xcb_window_t>(window.winId())); }
    // Whether the server shows `alert` as the window manager keeps it: transient for `owner`, on
    // screen and above it. An alert told before its owner was shown gets there only once the owner is.
    static bool keptAbove(const QWidget& alert, const QWidget& owner) {
        const auto window = static_cast<xcb_window_t>(alert.winId());
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> transient(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1),
                                   nullptr),
            &std::free);
        const bool ownedBy = transient && xcb_get_property_value_length(transient.get()) == 4 &&
                             *static_cast<const xcb_window_t*>(xcb_get_property_value(transient.get())) == static_cast<xcb_window_t>(owner.winId());
        return ownedBy && viewable(window) && stackedAbove(alert, owner);
    }
    // Where a point of a widget lies on the screen, as the server has placed its window (the
    // program may not yet know where the window manager put it).
    static QPoint onScreen(const QWidget& widget, QPoint point) {
        const QWidget* window = widget.window();
        const QPoint inWindow = widget.mapTo(window, point);
        std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> root(
            xcb_translate_coordinates_reply(
                connection_,
                xcb_translate_coordinates(connection_, static_cast<xcb_window_t>(window->winId()),
                                          xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root,
                                          static_cast<std::int16_t>(inWindow.x()), static_cast<std::int16_t>(inWindow.y())),
                nullptr),
            &std::free);
        return root ? QPoint(root->dst_x, root->dst_y) : QPoint();
    }

    // Counts the button releases that reach the program, whichever window they are for and
    // whether Qt then passes them on or not. Qt takes the pointer through the input extension.
    struct ReleaseCounter : QAbstractNativeEventFilter {
        static constexpr int inputButtonRelease = 5;
        int releases = 0;
        bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
            const auto* event = static_cast<xcb_ge_generic_event_t*>(message);
            const int type = event->response_type & 0x7f;
            if (type == XCB_BUTTON_RELEASE || (type == XCB_GE_GENERIC && event->event_type == inputButtonRelease)) ++releases;
            return false;
        }
    };

    // A click on the middle of a widget as the user makes it, given once the program has seen it.
    static void clickOn(const QWidget& widget) {
        const QPoint point = onScreen(widget, widget.rect().center());
        ReleaseCounter counter;
        QCoreApplication::instance()->installNativeEventFilter(&counter);
        display_->run({"xdotool", "mousemove", std::to_string(point.x()), std::to_string(point.y()), "click", "1"});
        const bool seen = settle([&] { return counter.releases > 0; });
        QCoreApplication::instance()->removeNativeEventFilter(&counter);
        QCoreApplication::processEvents();
        ASSERT_TRUE(seen) << "the click never reached the program";
    }

    // Settings whose every save fails, as on a full disk: a file stands where their folder should
    // be. Failures are told with alerts.
    struct FailingSettings {
        TemporaryDirectory dir;
        platform::JsonFileUserDefaults defaults{[this] {
            writeFile(dir / "zentaris", "a file where the settings folder should be");
            return dir / "zentaris" / "defaults.json";
        }()};
        platform::qt::QtAlertPresenter alerts;
        FailingSettings() { alertWhenSettingsAreNotSaved(defaults, alerts); }
    };

    platform::MemoryUserDefaults languageDefaults_;
    static inline PrivateDisplay* display_ = nullptr;
    static inline xcb_connection_t* connection_ = nullptr;
};

TEST_F(SettingsSaveAlertX11, AFailedSaveIsToldOneAlertAtATimeAndAgainAfterTheAlertWasDismissed) {
    FailingSettings settings;
    auto& defaults = settings.defaults;

    defaults.set("windowGap", std::int64_t{8});
    ASSERT_TRUE(settle(oneAlertOnScreen));
    const auto text = openAlerts().front()->informativeText().toStdString();
    EXPECT_NE(text.find(std::strerror(ENOTDIR)), std::string::npos) << text;
    EXPECT_NE(text.find("The next change will try again"), std::string::npos) << text;

    defaults.set("windowGap", std::int64_t{10});
    QCoreApplication::processEvents(); // an alert for it would be open now
    EXPECT_EQ(openAlerts().size(), 1u) << "one alert while it is open";

    pressReturnIn(openAlerts().front());
    ASSERT_TRUE(settle([] { return openAlerts().empty(); })) << "Return dismisses the alert";

    defaults.set("windowGap", std::int64_t{12});
    ASSERT_TRUE(settle(oneAlertOnScreen)) << "the failure after it was dismissed is told again";
    pressReturnIn(openAlerts().front());
    EXPECT_TRUE(settle([] { return openAlerts().empty(); }));
}

TEST_F(SettingsSaveAlertX11, TheAlertStaysAboveTheSettingsWindowThroughAClickThere) {
    for (const bool failedBeforeOpening : {false, true}) {
        SCOPED_TRACE(failedBeforeOpening ? "a save failed before the window opened" : "opening the window failed to save");
        FailingSettings failing;
        RememberedWindow settings(failing.defaults, "windowFrame.Settings");
        failing.alerts.setOwnerQuery([&settings] { return &settings; });
        auto* setting = new QCheckBox(QStringLiteral("Left Side"), &settings);
        setting->move(20, 20);
        if (failedBeforeOpening) {
            failing.defaults.set("windowGap", std::int64_t{8});
            ASSERT_TRUE(settle(oneAlertOnScreen));
        }

        // Opening the window fails to save where the window manager put it.
        settings.resize(800, 600);
        settings.move(560, 240);
        settings.show();
        ASSERT_TRUE(settle(oneAlertOnScreen));
        QMessageBox* alert = openAlerts().front();
        ASSERT_TRUE(settle([&] { return keptAbove(*alert, settings); }));

        clickOn(*setting);
        EXPECT_TRUE(viewable(*alert));
        EXPECT_TRUE(stackedAbove(*alert, settings)) << "the click raised the settings window over the alert";
        EXPECT_FALSE(setting->isChecked()) << "the click changed a setting behind the alert";

        const auto alertWindow = static_cast<xcb_window_t>(alert->winId());
        pressReturnIn(alert);
        ASSERT_TRUE(settle([&] { return openAlerts().empty() && !viewable(alertWindow); }));
        clickOn(*setting);
        EXPECT_TRUE(settle([&] { return setting->isChecked(); })) << "the window takes clicks again once the alert is gone";
    }
}

} // namespace
} // namespace zentaris::testing
