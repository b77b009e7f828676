#include "services/EmailService.h"

#include "services/Utf8Text.h"
#include "services/WebAddress.h"

#include <cmath>
#include <cstdio>

namespace zentaris {

namespace {

constexpr const char* separator = "---\n";
constexpr std::size_t maxModelBytes = 256;

// Whole points, the fraction dropped; sizes no screen has are shown as 0.
long long wholePoints(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 1e15) return 0;
    return static_cast<long long>(value);
}

} // namespace

EmailService::EmailService(std::string supportEmail, const LanguageManager& languageManager, SystemSources sources)
    : supportEmail_(std::move(supportEmail)), languageManager_(languageManager), sources_(sources) {}

std::string EmailService::composeBody(const std::string& subject, const std::string& userEmail,
                                      const std::string& message, bool includeSystemInformation,
                                      bool includeAppSettings) const {
    const auto L = [this](const char* key) { return languageManager_.localizedString(key); };
    std::string body;
    if (!subject.empty()) body += L("subject") + ": " + subject + "\n\n";
    body += message + "\n\n";
    if (!userEmail.empty()) body += separator + L("user_email") + ": " + userEmail + "\n\n";
    if (includeSystemInformation) body += separator + L("system_information") + ":\n" + systemInformation() + "\n\n";
    if (includeAppSettings) body += separator + L("app_settings") + ":\n" + appSettingsSummary() + "\n\n";
    body += separator + L("email_footer");
    return body;
}

std::string EmailService::systemInformation() const {
    std::string block = "Linux: " + sources_.host.operatingSystemVersionString() + "\n";
    if (const auto& info = sources_.bundle.infoDictionary()) {
        auto shortVersion = info->find("CFBundleShortVersionString");
        auto build = info->find("CFBundleVersion");
        if (shortVersion != info->end() && build != info->end()) {
            block += "Zentaris: " + shortVersion->second + " (" + build->second + ")\n";
        }
    }
    block += "Model: " + hardwareModel() + "\n";

    char memory[64];
    std::snprintf(memory, sizeof memory, "%.0f", static_cast<double>(sources_.host.physicalMemory()) / 1073741824.0);
    block += std::string("Memory: ") + memory + " GB\n";

    const auto screens = sources_.screens.screens();
    block += "Displays: " + std::to_string(screens.size()) + "\n";
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const auto& frame = screens[i].frame;
        block += "  Display " + std::to_string(i + 1) + ": " + std::to_string(wholePoints(frame.width())) + "x"
               + std::to_string(wholePoints(frame.height())) + "\n";
    }
    block += "App Language: " + languageManager_.currentLanguage() + "\n";
    return block;
}

std::string EmailService::appSettingsSummary() const {
    std::string block = "Language: " + languageManager_.currentLanguage() + "\n";
    block += std::string("Launch at Login: ") + (sources_.defaults.boolForKey("launchAtLogin") ? "Yes" : "No") + "\n";
    block += "Custom Shortcuts: No\n";
    block += std::string("Accessibility Permission: ")
           + (sources_.accessibility.isProcessTrusted(false) ? "Granted" : "Not Granted") + "\n";
    block += "Connected Displays: " + std::to_string(sources_.screens.screens().size()) + "\n";
    return block;
}

std::string EmailService::hardwareModel() const {
    const auto model = sources_.host.hardwareModel();
    if (!model || model->empty()) return "Unknown";
    return truncateUtf8(repairUtf8(*model), maxModelBytes);
}

std::optional<std::string> EmailService::mailtoURL(const std::string& recipient, const std::string& subject,
                                                   const std::string& body) {
    if (!isValidEmailAddress(recipient)) return std::nullopt;
    std::string url = "mailto:" + recipient;
    char joiner = '?';
    if (!subject.empty()) {
        url += joiner + std::string("subject=") + percentEncodeStrictly(subject);
        joiner = '&';
    }
    if (!body.empty()) url += joiner + std::string("body=") + percentEncodeStrictly(body);
    return url;
}

} // namespace zentaris
