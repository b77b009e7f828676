#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zentaris {

// The interface languages in display order: code (also the name of its language folder) and the
// language's own name for itself.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 17> supportedLanguageTable{{
    {"en", "English"},
    {"de", "Deutsch"},
    {"fr", "Français"},
    {"ja", "日本語"},
    {"zh-Hans", "简体中文"},
    {"es", "Español"},
    {"it", "Italiano"},
    {"pt", "Português"},
    {"nl", "Nederlands"},
    {"ko", "한국어"},
    {"zh-Hant", "繁體中文"},
    {"sv", "Svenska"},
    {"da", "Dansk"},
    {"ru", "Русский"},
    {"pl", "Polski"},
    {"ar", "العربية"},
    {"he", "עברית"},
}};

// The flag of a language's country, or a globe for a code not in the table (compared exactly).
std::string languageFlag(std::string_view code);

struct SupportedLanguage {
    std::string code;
    std::string name;
    std::string flag;
    bool operator==(const SupportedLanguage&) const = default;
};

// The table's rows with their flags, in display order.
std::vector<SupportedLanguage> supportedLanguages();

} // namespace zentaris
