#pragma once

#include "platform/UserDefaults.h"
#include "preferences/LanguageManager.h"
#include "services/UpdateService.h"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QVariantAnimation;

namespace zentaris {

class LimitedLinesLabel;

// The About page: the program, its features, version and publisher, and the update check.
class AboutSettingsView : public QWidget {
public:
    static constexpr const char* fallbackVersion = "1.0.0";

    // `appVersion` is the installed version; nothing shows the fallback.
    AboutSettingsView(UpdateService& updateService, LanguageManager& languageManager,
                      std::optional<std::string> appVersion, QWidget* parent = nullptr);
    // Over the main bundle's version.
    AboutSettingsView(UpdateService& updateService, LanguageManager& languageManager, QWidget* parent = nullptr);

    // Short date and short time in the user's locale.
    static QString formattedDate(const platform::Date& date);

    const std::string& installedVersion() const { return installedVersion_; }
    QPushButton* checkButton() const { return checkButton_; }
    QPushButton* downloadButton() const { return downloadButton_; }
    // True while the check button shows the turning progress indicator instead of its arrow.
    bool showsProgress() const;
    QWidget* announcementRow() const { return announcement_; }
    QLabel* announcementTitle() const { return announcementTitle_; }
    LimitedLinesLabel* releaseNotesLabel() const { return releaseNotes_; }
    QWidget* lastCheckRow() const { return lastCheckRow_; }
    QLabel* lastCheckLabel() const { return lastCheckLabel_; }
    QLabel* versionLabel() const { return versionLabel_; }

    // Shows the service's current state and the current language.
    void refresh();

private:
    QWidget* buildHeaderCard();
    QWidget* buildFeaturesCard();
    QWidget* buildInformationRow();
    QWidget* buildUpdatesCard();

    UpdateService& updateService_;
    LanguageManager& languageManager_;
    std::string installedVersion_;

    QLabel* versionLabel_ = nullptr;
    QPushButton* checkButton_ = nullptr;
    QVariantAnimation* spinner_ = nullptr;
    QWidget* announcementDivider_ = nullptr;
    QWidget* announcement_ = nullptr;
    QLabel* announcementTitle_ = nullptr;
    LimitedLinesLabel* releaseNotes_ = nullptr;
    QPushButton* downloadButton_ = nullptr;
    QWidget* lastCheckRow_ = nullptr;
    QLabel* lastCheckLabel_ = nullptr;
};

} // namespace zentaris
