#pragma once

#include "platform/Bundle.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "preferences/LanguageBundle.h"
#include "preferences/Observable.h"
#include "preferences/TextFormat.h"

#include <array>
#include <string>
#include <vector>

namespace zentaris {

// The interface language chosen inside the program, and the texts of that language.
class LanguageManager {
public:
    static constexpr const char* selectedLanguageKey = "selectedLanguage";
    static constexpr const char* appleLanguagesKey = "AppleLanguages";
    static constexpr const char* languageDidChangeNotification = "LanguageDidChange";

    // The codes of the interface languages, in display order; each names a folder <code>.lproj.
    static constexpr std::array<const char*, 17> supportedLanguageCodes{
        "en", "de", "fr", "ja", "zh-Hans", "es", "it", "pt", "nl", "ko", "zh-Hant", "sv", "da", "ru", "pl", "ar", "he"};
    static bool isSupportedLanguageCode(const std::string& code);

    // The interface language for a preferred system language tag: its first two letters,
    // lower-cased, except that Chinese picks the simplified or traditional script.
    static std::string languageCodeForPreferredLanguage(const std::string& tag);

    LanguageManager(platform::UserDefaults& defaults, platform::NotificationCenter& notifications,
                    const platform::Bundle& mainBundle, const std::vector<std::string>& preferredLanguages);

    // The process-wide instance over the standard defaults, the main bundle and the session's languages.
    static LanguageManager& shared();
    static void resetShared();

    const std::string& currentLanguage() const { return currentLanguage_; }
    // Stores the code as the user's choice and loads its texts (every time, even for the same code).
    void setCurrentLanguage(const std::string& code);
    void setLanguage(const std::string& code) { setCurrentLanguage(code); }

    // The text of `key` in the current language, or the key itself.
    std::string localizedString(const std::string& key) const;
    // The text of `key` used as a format for the arguments (see formatText).
    std::string localizedFormat(const std::string& key, const std::vector<FormatArgument>& arguments) const;

    void updateLanguageBundle();
    const LanguageBundle& languageBundle() const { return languageBundle_; }
    Signal<>& objectWillChange() { return objectWillChange_; }

private:
    platform::UserDefaults& defaults_;
    platform::NotificationCenter& notifications_;
    const platform::Bundle& mainBundle_;
    Signal<> objectWillChange_;
    LanguageBundle languageBundle_;
    std::string currentLanguage_;
};

} // namespace zentaris
