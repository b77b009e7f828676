// Pictures of the settings window on every page and of each whole page, for the pictures command.
#include "SettingsPageTestSupport.h"
#include "pictures/PictureFolder.h"
#include "settings/AboutSettingsView.h"
#include "settings/GeneralSettingsView.h"
#include "settings/SettingsSidebar.h"
#include "settings/SettingsView.h"
#include "settings/ShortcutsSettingsView.h"
#include "settings/SupportSettingsView.h"

namespace zentaris::testing {
namespace {

struct SettingsPictures : SettingsPageFixture {
    static void save(QWidget& widget, const std::string& name, QSize size) {
        widget.resize(size);
        widget.show();
        settle();
        savePicture(widget, name);
    }
};

TEST_F(SettingsPictures, WindowOnEveryPage) {
    for (auto tab : allSettingsTabs) {
        SettingsView view(tab, true, supportDependencies());
        save(view, "settings-window-" + title(tab), {800, 600});
    }
    SettingsView hidden(SettingsTab::general, false, supportDependencies());
    save(hidden, "settings-window-sidebar-hidden", {800, 600});
}

TEST_F(SettingsPictures, WholePages) {
    GeneralSettingsView general;
    save(general, "settings-page-general", {600, 1250});
    ShortcutsSettingsView shortcuts;
    save(shortcuts, "settings-page-shortcuts", {640, 900});
    SupportSettingsView support(supportDependencies());
    save(support, "settings-page-support", {600, 900});

    UpdateService service(updateDependencies());
    service.checkForUpdates(false);
    http.respond(200, R"({"updateAvailable": true, "latestVersion": "4.0.0", "minRequiredVersion": "1.0.0",
        "downloadUrl": "https://example.org/get", "forceUpdate": false, "releaseNotes":
        "Faster snapping on large screens, a new three-window layout, fixes for windows that refused to move, and much more that would not fit into two lines of text in this card."})");
    AboutSettingsView about(service, LanguageManager::shared(), std::string("3.1.4"));
    save(about, "settings-page-about", {600, 1150});
}

} // namespace
} // namespace zentaris::testing
