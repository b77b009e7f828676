#include "shortcuts/ModuleTexts.h"

#include "platform/Environment.h"
#include "platform/Locale.h"
#include "preferences/LanguageManager.h"

#include <memory>

namespace GlobalShortcuts {

namespace {

std::unique_ptr<ModuleTexts>& sharedInstance() {
    static std::unique_ptr<ModuleTexts> instance;
    return instance;
}

std::vector<std::string> sessionLanguages() {
    try {
        return platform::preferredLanguages(platform::UserDefaults::standard(), platform::Environment::current());
    } catch (const std::logic_error&) {
        // Texts may be needed before the defaults are installed; the environment alone then decides.
        const platform::MemoryUserDefaults none;
        return platform::preferredLanguages(none, platform::Environment::current());
    }
}

} // namespace

ModuleTexts::ModuleTexts(const platform::Bundle& mainBundle, const std::vector<std::string>& preferredLanguages) {
    const auto folder = mainBundle.pathForResource(bundleName, "bundle");
    if (!folder) return;
    bundleFound_ = true;
    const platform::Bundle moduleBundle(*folder, std::nullopt);
    auto candidates = preferredLanguages;
    candidates.push_back("en");
    for (const auto& tag : candidates) {
        const auto code = zentaris::LanguageManager::languageCodeForPreferredLanguage(tag);
        const auto languageFolder = moduleBundle.pathForResource(code, "lproj");
        if (!languageFolder) continue;
        if (auto texts = zentaris::LanguageBundle::open(*languageFolder)) {
            texts_ = std::move(*texts);
            return;
        }
    }
}

std::string ModuleTexts::localizedString(const std::string& key) const { return texts_.localizedString(key, key); }

const ModuleTexts& ModuleTexts::shared() {
    auto& instance = sharedInstance();
    if (!instance) instance = std::make_unique<ModuleTexts>(platform::Bundle::main(), sessionLanguages());
    return *instance;
}

void ModuleTexts::resetShared() { sharedInstance().reset(); }

} // namespace GlobalShortcuts
