#include "services/SystemLanguageTexts.h"

#include "preferences/LanguageManager.h"

namespace zentaris {

SystemLanguageTexts::SystemLanguageTexts(const platform::Bundle& bundle, const std::vector<std::string>& preferredLanguages) {
    auto candidates = preferredLanguages;
    candidates.push_back("en");
    for (const auto& tag : candidates) {
        const auto code = LanguageManager::languageCodeForPreferredLanguage(tag);
        if (!LanguageManager::isSupportedLanguageCode(code)) continue;
        if (auto folder = bundle.pathForResource(code, "lproj")) {
            if (auto texts = LanguageBundle::open(*folder)) {
                texts_ = std::move(*texts);
                return;
            }
        }
    }
}

} // namespace zentaris
