#include "preferences/SupportedLanguages.h"

#include <map>

namespace zentaris {

namespace {

// A flag is the pair of regional indicator symbols of the country's two letters.
std::string regionalFlag(std::string_view region) {
    std::string flag;
    for (char letter : region) {
        const char32_t symbol = U'\U0001F1E6' + static_cast<char32_t>(letter - 'A');
        flag += static_cast<char>(0xF0 | (symbol >> 18));
        flag += static_cast<char>(0x80 | ((symbol >> 12) & 0x3F));
        flag += static_cast<char>(0x80 | ((symbol >> 6) & 0x3F));
        flag += static_cast<char>(0x80 | (symbol & 0x3F));
    }
    return flag;
}

} // namespace

std::string languageFlag(std::string_view code) {
    static const std::map<std::string_view, std::string_view> regions{
        {"en", "GB"}, {"de", "DE"}, {"fr", "FR"}, {"ja", "JP"}, {"zh-Hans", "CN"}, {"es", "ES"},
        {"it", "IT"}, {"pt", "PT"}, {"nl", "NL"}, {"ko", "KR"}, {"zh-Hant", "TW"}, {"sv", "SE"},
        {"da", "DK"}, {"ru", "RU"}, {"pl", "PL"}, {"ar", "SA"}, {"he", "IL"}};
    auto it = regions.find(code);
    return it == regions.end() ? std::string("\U0001F310") : regionalFlag(it->second);
}

std::vector<SupportedLanguage> supportedLanguages() {
    std::vector<SupportedLanguage> rows;
    for (const auto& [code, name] : supportedLanguageTable) {
        rows.push_back({std::string(code), std::string(name), languageFlag(code)});
    }
    return rows;
}

} // namespace zentaris
