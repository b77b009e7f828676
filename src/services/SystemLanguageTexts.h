#pragma once

#include "platform/Bundle.h"
#include "preferences/LanguageBundle.h"

#include <string>
#include <vector>

namespace zentaris {

// Texts in the session's language rather than the one chosen inside the program: the first
// preferred language that has a folder in the bundle, else English. A language chosen inside the
// program reaches these texts from the next start on, once it is among the preferred languages.
class SystemLanguageTexts {
public:
    SystemLanguageTexts() = default;
    SystemLanguageTexts(const platform::Bundle& bundle, const std::vector<std::string>& preferredLanguages);

    std::string text(const std::string& key, const std::string& fallback) const {
        return texts_.localizedString(key, fallback);
    }

private:
    LanguageBundle texts_;
};

} // namespace zentaris
