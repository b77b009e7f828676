// The alert for a settings change that could not be saved, as the user meets it on a real X server:
// shown once while it is open, dismissed with the keyboard, and shown again for the next failure.

#include "platform/qt/QtAlertPresenter.h"
#include "platform/system/JsonFileUserDefaults.h"
#include "preferences/LanguageManager.h"
#include "shell/SettingsSaveAlert.h"
#include "support/OffscreenApplication.h"
#include "support/PrivateDisplay.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

#include <cstdlib>
#include <cstring>
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
    }
    static void TearDownTestSuite() { delete display_; }

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

    template <typename Condition>
    static bool settle(Condition done) { return QTest::qWaitFor(done, 5000); }

    // Presses Return in the alert as the user would, once the window manager has given it the focus.
    static void pressReturnIn(QMessageBox* box) {
        const auto window = std::to_string(box->winId());
        display_->run({"xdotool", "windowactivate", "--sync", window});
        display_->run({"xdotool", "key", "--clearmodifiers", "Return"});
    }

    platform::MemoryUserDefaults languageDefaults_;
    static inline PrivateDisplay* display_ = nullptr;
};

TEST_F(SettingsSaveAlertX11, AFailedSaveIsToldOneAlertAtATimeAndAgainAfterTheAlertWasDismissed) {
    TemporaryDirectory dir;
    writeFile(dir / "zentaris", "a file where the settings folder should be");
    platform::JsonFileUserDefaults defaults(dir / "zentaris" / "defaults.json");
    platform::qt::QtAlertPresenter alerts;
    alertWhenSettingsAreNotSaved(defaults, alerts);

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

} // namespace
} // namespace zentaris::testing
