#include "SettingsPageTestSupport.h"
#include "settings/AboutSettingsView.h"
#include "settings/GeneralSettingsView.h"
#include "settings/SettingsSidebar.h"
#include "settings/SettingsView.h"
#include "settings/SupportSettingsView.h"

#include <QTest>

namespace zentaris::testing {
namespace {

// Pictures of the window and of each whole page, for a person to look at (build/artifacts).
using SettingsScreenshotTest = SettingsPageFixture;

TEST_F(SettingsScreenshotTest, WindowOnEveryPage) {
    for (auto tab : allSettingsTabs) {
        SettingsView view(tab, true, supportDependencies());
        saveArtifact(view, "settings-window-" + title(tab), {800, 600});
        EXPECT_EQ(view.selectedTab(), tab);
    }
    SettingsView hidden(SettingsTab::general, false, supportDependencies());
    saveArtifact(hidden, "settings-window-sidebar-hidden", {800, 600});
}

TEST_F(SettingsScreenshotTest, WholePages) {
    GeneralSettingsView general;
    saveArtifact(general, "settings-page-general", {600, 1250});
    SupportSettingsView support(supportDependencies());
    saveArtifact(support, "settings-page-support", {600, 900});

    UpdateService service(updateDependencies());
    service.checkForUpdates(false);
    http.respond(200, R"({"updateAvailable": true, "latestVersion": "4.0.0", "minRequiredVersion": "1.0.0",
        "downloadUrl": "https://example.org/get", "forceUpdate": false, "releaseNotes":
        "Faster snapping on large screens, a new three-window layout, fixes for windows that refused to move, and much more that would not fit into two lines of text in this card."})");
    AboutSettingsView about(service, LanguageManager::shared(), std::string("3.1.4"));
    saveArtifact(about, "settings-page-about", {600, 1150});
    SUCCEED();
}

} // namespace
} // namespace zentaris::testing
