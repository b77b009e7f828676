#include "preferences/LanguageManager.h"

#include "platform/Environment.h"
#include "platform/Locale.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <sstream>

namespace zentaris {

namespace {

std::unique_ptr<LanguageManager>& sharedInstance() {
    static std::unique_ptr<LanguageManager> instance;
    return instance;
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

} // namespace

bool LanguageManager::isSupportedLanguageCode(const std::string& code) {
    return std::find(supportedLanguageCodes.begin(), supportedLanguageCodes.end(), code) != supportedLanguageCodes.end();
}

std::string LanguageManager::languageCodeForPreferredLanguage(const std::string& tag) {
    std::vector<std::string> subtags;
    std::istringstream parts(tag);
    for (std::string part; std::getline(parts, part, '-');) subtags.push_back(lowercase(part));
    if (subtags.empty() || subtags.front().empty()) return "en";

    // Two letters would turn both Chinese scripts into "zh", which has no folder.
    if (subtags.front() == "zh") {
        for (std::size_t i = 1; i < subtags.size(); ++i) {
            const auto& subtag = subtags[i];
            if (subtag == "hans" || subtag == "cn" || subtag == "sg") return "zh-Hans";
            if (subtag == "hant" || subtag == "tw" || subtag == "hk" || subtag == "mo") return "zh-Hant";
        }
    }
    return lowercase(tag.substr(0, 2));
}

LanguageManager::LanguageManager(platform::UserDefaults& defaults, platform::NotificationCenter& notifications,
                                 const platform::Bundle& mainBundle, const std::vector<std::string>& preferredLanguages)
    : defaults_(defaults), notifications_(notifications), mainBundle_(mainBundle) {
    // The stored choice comes from a file anyone can edit and becomes a folder name: only a
    // supported code is taken.
    const auto stored = defaults_.stringValue(selectedLanguageKey);
    if (stored && isSupportedLanguageCode(*stored)) {
        currentLanguage_ = *stored;
    } else if (!preferredLanguages.empty()) {
        currentLanguage_ = languageCodeForPreferredLanguage(preferredLanguages.front());
    } else {
        currentLanguage_ = "en";
    }
    updateLanguageBundle();
}

LanguageManager& LanguageManager::shared() {
    auto& instance = sharedInstance();
    if (!instance) {
        auto& defaults = platform::UserDefaults::standard();
        instance = std::make_unique<LanguageManager>(defaults, platform::NotificationCenter::defaultCenter(),
                                                     platform::Bundle::main(),
                                                     platform::preferredLanguages(defaults, platform::Environment::current()));
    }
    return *instance;
}

void LanguageManager::resetShared() { sharedInstance().reset(); }

void LanguageManager::setCurrentLanguage(const std::string& code) {
    objectWillChange_.send();
    currentLanguage_ = code;
    defaults_.set(selectedLanguageKey, code);
    updateLanguageBundle();
}

void LanguageManager::updateLanguageBundle() {
    if (auto folder = mainBundle_.pathForResource(currentLanguage_, "lproj")) {
        if (auto bundle = LanguageBundle::open(*folder)) {
            languageBundle_ = std::move(*bundle);
            // Follows the chosen language at every start; it is not a choice of its own.
            defaults_.setDerived(appleLanguagesKey, platform::StringList{currentLanguage_});
            defaults_.synchronize();
            notifications_.post(languageDidChangeNotification);
            return;
        }
    }
    if (auto english = mainBundle_.pathForResource("en", "lproj")) {
        if (auto bundle = LanguageBundle::open(*english)) languageBundle_ = std::move(*bundle);
    }
}

std::string LanguageManager::localizedString(const std::string& key) const {
    return languageBundle_.localizedString(key, key);
}

std::string LanguageManager::localizedFormat(const std::string& key, const std::vector<FormatArgument>& arguments) const {
    return formatText(localizedString(key), arguments);
}

} // namespace zentaris
