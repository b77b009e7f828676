#pragma once

#include "platform/AlertPresenter.h"
#include "platform/HttpClient.h"
#include "platform/MainQueue.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"
#include "preferences/Observable.h"
#include "services/AppVersionResponse.h"
#include "services/SystemLanguageTexts.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace zentaris {

enum class UpdateCheckError { badURL, encodingFailed, transport, badServerResponse, decodingFailed };

// Asks the version endpoint whether a newer version exists, publishes the answer, remembers the
// last successful check, and offers or requires the download. Failures stay inside: they only
// end the check.
class UpdateService {
public:
    static constexpr const char* lastCheckDateKey = "lastUpdateCheckDate";
    static constexpr double defaultCheckInterval = 604800; // 7 days
    static constexpr const char* endpointPath = "/checkAppVersion";
    static constexpr const char* platformName = "Linux";
    static constexpr const char* fallbackVersion = "1.0.0";
    static constexpr double launchCheckDelay = 0.5;
    static constexpr double inactivityTimeout = 10;
    static constexpr double requestDeadline = 30;
    static constexpr std::size_t maxReplyBytes = 64 * 1024;
    // Longer server texts are cut before they are shown, in the alerts and on the About page.
    static constexpr std::size_t maxShownVersionBytes = 100;
    static constexpr std::size_t maxShownReleaseNotesBytes = 4000;

    struct Dependencies {
        platform::UserDefaults& defaults;
        platform::MainQueue& mainQueue;
        platform::HttpClient& http;
        platform::AlertPresenter& alerts;
        platform::Workspace& workspace;
        // Ends the program once a required update has been offered.
        std::function<void()> terminateApplication;
        // The running version; nothing when the bundle has none.
        std::optional<std::string> appVersion;
        std::string baseURL;
        std::string productPageURL;
        SystemLanguageTexts alertTexts;
    };

    // Over the standard defaults and main queue, the main bundle's version and texts, and the
    // configured addresses.
    static Dependencies standardDependencies(platform::HttpClient& http, platform::AlertPresenter& alerts,
                                             platform::Workspace& workspace, std::function<void()> terminateApplication);

    explicit UpdateService(Dependencies dependencies);
    ~UpdateService();
    UpdateService(const UpdateService&) = delete;
    UpdateService& operator=(const UpdateService&) = delete;

    // The process-wide checker, created on first use over the configured dependencies.
    static UpdateService& shared();
    static void configureShared(Dependencies dependencies);
    // Drops the shared instance and its configuration (tests only).
    static void resetShared();

    // At launch: publishes the stored date and, when a check is due, runs a silent one shortly after.
    void checkForUpdatesIfNeeded();
    bool shouldCheckForUpdates() const;
    // Runs one check unless one is running; `finished` is called when it ends or is refused.
    void checkForUpdates(bool showAlert, std::function<void()> finished = {});

    using FetchResult = std::variant<AppVersionResponse, UpdateCheckError>;
    void fetchLatestVersion(const std::string& currentVersion, std::function<void(FetchResult)> completion);

    // Opens the address when it is an https address, else the configured product page.
    void openDownloadPage(const std::string& address);
    void showUpdateAvailableAlert(const std::string& latestVersion, const std::string& releaseNotes,
                                  const std::string& downloadUrl);
    void showUpdateRequiredAlert(const std::string& latestVersion, const std::string& releaseNotes,
                                 const std::string& downloadUrl);

    // The server's texts as they may be shown: cut to their limits. Every view shows them as
    // plain text, never as markup.
    static std::string shownVersion(const std::string& version);
    static std::string shownReleaseNotes(const std::string& releaseNotes);

    const std::string& baseURL() const { return dependencies_.baseURL; }
    double checkInterval() const { return checkInterval_; }
    bool updateAvailable() const { return updateAvailable_.value(); }
    const std::string& latestVersion() const { return latestVersion_.value(); }
    const std::string& releaseNotes() const { return releaseNotes_.value(); }
    const std::string& downloadUrl() const { return downloadUrl_.value(); }
    bool forceUpdate() const { return forceUpdate_.value(); }
    bool isChecking() const { return isChecking_.value(); }
    const std::optional<platform::Date>& lastCheckDate() const { return lastCheckDate_.value(); }

    Published<bool>& updateAvailablePublisher() { return updateAvailable_; }
    Published<std::string>& latestVersionPublisher() { return latestVersion_; }
    Published<std::string>& releaseNotesPublisher() { return releaseNotes_; }
    Published<std::string>& downloadUrlPublisher() { return downloadUrl_; }
    Published<bool>& forceUpdatePublisher() { return forceUpdate_; }
    Published<bool>& isCheckingPublisher() { return isChecking_; }
    Published<std::optional<platform::Date>>& lastCheckDatePublisher() { return lastCheckDate_; }
    // Fires before any published value changes.
    Signal<>& objectWillChange() { return objectWillChange_; }

private:
    std::optional<platform::Date> storedCheckDate() const;
    void applyVersionResponse(const AppVersionResponse& response, bool showAlert);
    platform::Alert makeAlert(const char* titleKey, const char* titleFallback, const char* messageKey,
                              const std::string& latestVersion, const std::string& releaseNotes) const;
    template <typename T>
    void publish(Published<T>& property, T value) {
        objectWillChange_.send();
        property.set(std::move(value));
    }

    Dependencies dependencies_;
    double checkInterval_ = defaultCheckInterval;
    Signal<> objectWillChange_;
    Published<bool> updateAvailable_{false};
    Published<std::string> latestVersion_{""};
    Published<std::string> releaseNotes_{""};
    Published<std::string> downloadUrl_{""};
    Published<bool> forceUpdate_{false};
    Published<bool> isChecking_{false};
    Published<std::optional<platform::Date>> lastCheckDate_{std::nullopt};

    platform::ScheduledTask launchCheck_;
    platform::ObservationToken request_;
    std::vector<platform::ScheduledTask> pendingAlerts_;
    // Lets an alert that outlives the service find out, instead of calling into freed memory.
    std::shared_ptr<UpdateService*> self_ = std::make_shared<UpdateService*>(this);
};

} // namespace zentaris
