#include "shell/SettingsSaveAlert.h"

#include "platform/AlertPresenter.h"
#include "platform/system/JsonFileUserDefaults.h"
#include "preferences/LanguageManager.h"

#include <QCoreApplication>
#include <QTimer>

namespace zentaris {

void alertWhenSettingsAreNotSaved(platform::JsonFileUserDefaults& defaults, platform::AlertPresenter& alerts) {
    defaults.setWriteFailureHandler([&defaults, &alerts](const std::string& reason) {
        // Later, from the loop: the failed save may come from deep inside a change being made.
        QTimer::singleShot(0, QCoreApplication::instance(), [&defaults, &alerts, reason] {
            const auto& texts = LanguageManager::shared();
            alerts.present({.messageText = texts.localizedString("error_title"),
                            .informativeText = texts.localizedFormat("settings_save_error", {reason}),
                            .style = platform::AlertStyle::warning,
                            .buttons = {texts.localizedString("ok")}},
                           [&defaults](std::optional<std::size_t>) { defaults.writeFailureSeen(); });
        });
    });
}

} // namespace zentaris
