#include "services/UpdateService.h"

#include "platform/Bundle.h"
#include "platform/Environment.h"
#include "platform/Locale.h"
#include "preferences/TextFormat.h"
#include "services/BuildConfiguration.h"
#include "services/Utf8Text.h"
#include "services/WebAddress.h"

#include <cmath>
#include <stdexcept>

namespace zentaris {

namespace {

struct SharedState {
    std::optional<UpdateService::Dependencies> configuration;
    std::unique_ptr<UpdateService> instance;
};

SharedState& sharedState() {
    static SharedState state;
    return state;
}

// Before year 10000 and not before 1970: anything else was not written by this program.
bool isSaneDate(const platform::Date& date) {
    return std::isfinite(date.secondsSince1970) && date.secondsSince1970 >= 0
        && date.secondsSince1970 < 253402300800.0;
}

} // namespace

UpdateService::Dependencies UpdateService::standardDependencies(platform::HttpClient& http,
                                                                platform::AlertPresenter& alerts,
                                                                platform::Workspace& workspace,
                                                                std::function<void()> terminateApplication) {
    auto& defaults = platform::UserDefaults::standard();
    const auto& bundle = platform::Bundle::main();
    return Dependencies{
        defaults,
        platform::MainQueue::main(),
        http,
        alerts,
        workspace,
        std::move(terminateApplication),
        bundle.appVersion(),
        configuredUpdateBaseURL(),
        configuredProductPageURL(),
        SystemLanguageTexts(bundle, platform::preferredLanguages(defaults, platform::Environment::current())),
    };
}

UpdateService::UpdateService(Dependencies dependencies) : dependencies_(std::move(dependencies)) {}

UpdateService::~UpdateService() = default;

UpdateService& UpdateService::shared() {
    auto& state = sharedState();
    if (!state.instance) {
        if (!state.configuration) throw std::logic_error("UpdateService::shared() used before configureShared()");
        state.instance = std::make_unique<UpdateService>(*state.configuration);
    }
    return *state.instance;
}

void UpdateService::configureShared(Dependencies dependencies) { sharedState().configuration.emplace(std::move(dependencies)); }

void UpdateService::resetShared() {
    auto& state = sharedState();
    state.instance.reset();
    state.configuration.reset();
}

std::optional<platform::Date> UpdateService::storedCheckDate() const {
    auto date = dependencies_.defaults.dateValue(lastCheckDateKey);
    if (date && !isSaneDate(*date)) return std::nullopt;
    return date;
}

void UpdateService::checkForUpdatesIfNeeded() {
    publish(lastCheckDate_, storedCheckDate());
    if (!shouldCheckForUpdates()) return;
    launchCheck_ = dependencies_.mainQueue.postAfter(launchCheckDelay, [this] { checkForUpdates(false); });
}

bool UpdateService::shouldCheckForUpdates() const {
    const auto stored = storedCheckDate();
    if (!stored) return true;
    return dependencies_.mainQueue.wallNow() - stored->secondsSince1970 >= checkInterval_;
}

void UpdateService::checkForUpdates(bool showAlert, std::function<void()> finished) {
    if (isChecking()) {
        if (finished) finished();
        return;
    }
    publish(isChecking_, true);
    const auto version = dependencies_.appVersion.value_or(fallbackVersion);
    fetchLatestVersion(version, [this, showAlert, finished = std::move(finished)](FetchResult result) {
        if (auto* response = std::get_if<AppVersionResponse>(&result)) {
            applyVersionResponse(*response, showAlert);
        } else {
            publish(isChecking_, false);
        }
        if (finished) finished();
    });
}

void UpdateService::applyVersionResponse(const AppVersionResponse& response, bool showAlert) {
    publish(updateAvailable_, response.updateAvailable);
    publish(latestVersion_, response.latestVersion);
    publish(releaseNotes_, response.releaseNotes);
    publish(downloadUrl_, response.downloadUrl);
    publish(forceUpdate_, response.forceUpdate);
    const platform::Date now{dependencies_.mainQueue.wallNow()};
    dependencies_.defaults.set(lastCheckDateKey, now);
    publish(lastCheckDate_, std::optional<platform::Date>(now));
    if (response.forceUpdate) {
        showUpdateRequiredAlert(response.latestVersion, response.releaseNotes, response.downloadUrl);
    } else if (response.updateAvailable && showAlert) {
        showUpdateAvailableAlert(response.latestVersion, response.releaseNotes, response.downloadUrl);
    }
    publish(isChecking_, false);
}

void UpdateService::fetchLatestVersion(const std::string& currentVersion, std::function<void(FetchResult)> completion) {
    const auto url = dependencies_.baseURL + endpointPath;
    if (!isHttpsURL(url)) {
        completion(UpdateCheckError::badURL);
        return;
    }
    auto body = encodeVersionRequest(currentVersion, platformName);
    if (!body) {
        completion(UpdateCheckError::encodingFailed);
        return;
    }
    platform::HttpRequest request;
    request.method = "POST";
    request.url = url;
    request.headers = {{"Content-Type", "application/json"}};
    request.body = std::move(*body);
    request.inactivityTimeout = inactivityTimeout;
    request.deadline = requestDeadline;
    request.maxResponseBytes = maxReplyBytes;
    request_ = dependencies_.http.send(std::move(request), [completion = std::move(completion)](const platform::HttpResult& reply) {
        if (!reply.ok()) {
            completion(reply.error == platform::HttpError::badURL ? UpdateCheckError::badURL : UpdateCheckError::transport);
        } else if (reply.statusCode != 200) {
            completion(UpdateCheckError::badServerResponse);
        } else if (auto response = AppVersionResponse::decode(reply.body)) {
            completion(std::move(*response));
        } else {
            completion(UpdateCheckError::decodingFailed);
        }
    });
}

void UpdateService::openDownloadPage(const std::string& address) {
    // The address comes from the network: only an https page goes to the browser.
    if (isHttpsURL(address)) {
        dependencies_.workspace.openURL(address);
    } else if (isHttpsURL(dependencies_.productPageURL)) {
        dependencies_.workspace.openURL(dependencies_.productPageURL);
    }
}

std::string UpdateService::shownVersion(const std::string& version) { return truncateUtf8(version, maxShownVersionBytes); }

std::string UpdateService::shownReleaseNotes(const std::string& releaseNotes) {
    return truncateUtf8(releaseNotes, maxShownReleaseNotesBytes);
}

platform::Alert UpdateService::makeAlert(const char* titleKey, const char* titleFallback, const char* messageKey,
                                         const std::string& latestVersion, const std::string& releaseNotes) const {
    const auto& texts = dependencies_.alertTexts;
    platform::Alert alert;
    alert.messageText = texts.text(titleKey, titleFallback);
    alert.informativeText = formatText(texts.text(messageKey, messageKey), {shownVersion(latestVersion)});
    if (!releaseNotes.empty()) alert.informativeText += "\n\n" + shownReleaseNotes(releaseNotes);
    return alert;
}

void UpdateService::showUpdateAvailableAlert(const std::string& latestVersion, const std::string& releaseNotes,
                                             const std::string& downloadUrl) {
    auto alert = makeAlert("update_available_title", "Update Available", "update_available_message", latestVersion,
                           releaseNotes);
    alert.style = platform::AlertStyle::informational;
    alert.buttons = {dependencies_.alertTexts.text("update_download", "Download"),
                     dependencies_.alertTexts.text("update_later", "Later")};
    std::weak_ptr<UpdateService*> weak = self_;
    pendingAlerts_.push_back(dependencies_.mainQueue.post([this, alert = std::move(alert), weak, downloadUrl] {
        dependencies_.alerts.present(alert, [weak, downloadUrl](std::optional<std::size_t> button) {
            auto self = weak.lock();
            if (self && button == 0u) (*self)->openDownloadPage(downloadUrl);
        });
    }));
}

void UpdateService::showUpdateRequiredAlert(const std::string& latestVersion, const std::string& releaseNotes,
                                            const std::string& downloadUrl) {
    auto alert = makeAlert("update_required_title", "Update Required", "update_required_message", latestVersion,
                           releaseNotes);
    alert.style = platform::AlertStyle::critical;
    alert.buttons = {dependencies_.alertTexts.text("update_download", "Download")};
    std::weak_ptr<UpdateService*> weak = self_;
    pendingAlerts_.push_back(dependencies_.mainQueue.post([this, alert = std::move(alert), weak, downloadUrl] {
        dependencies_.alerts.present(alert, [weak, downloadUrl](std::optional<std::size_t>) {
            // However the alert ended, this version may not keep running.
            auto self = weak.lock();
            if (!self) return;
            (*self)->openDownloadPage(downloadUrl);
            if ((*self)->dependencies_.terminateApplication) (*self)->dependencies_.terminateApplication();
        });
    }));
}

} // namespace zentaris
