#pragma once

#include "platform/Accessibility.h"
#include "platform/Bundle.h"
#include "platform/HostInformation.h"
#include "platform/Screens.h"
#include "platform/UserDefaults.h"
#include "preferences/LanguageManager.h"

#include <optional>
#include <string>

namespace zentaris {

// Composes a support message for the user's own mail program: the body, optional blocks of
// system information and settings, and the mailto: address that carries it. Sends nothing.
class EmailService {
public:
    // Where the information blocks come from.
    struct SystemSources {
        const platform::HostInformation& host;
        const platform::Bundle& bundle;
        platform::ScreenProvider& screens;
        platform::Accessibility& accessibility;
        const platform::UserDefaults& defaults;
    };

    EmailService(std::string supportEmail, const LanguageManager& languageManager, SystemSources sources);

    const std::string& supportEmail() const { return supportEmail_; }

    std::string composeBody(const std::string& subject, const std::string& userEmail, const std::string& message,
                            bool includeSystemInformation, bool includeAppSettings) const;
    std::string systemInformation() const;
    std::string appSettingsSummary() const;

    // mailto:<recipient>?subject=…&body=… with every byte of the values but the unreserved
    // characters percent-encoded, so no text can add header fields. Nothing when the recipient
    // is not a plain address.
    static std::optional<std::string> mailtoURL(const std::string& recipient, const std::string& subject,
                                                const std::string& body);

private:
    std::string hardwareModel() const;

    std::string supportEmail_;
    const LanguageManager& languageManager_;
    SystemSources sources_;
};

} // namespace zentaris
