#include "platform/Locale.h"

#include <algorithm>
#include <sstream>

namespace platform {

std::optional<std::string> languageTagFromPosixLocale(const std::string& locale) {
    std::string tag = locale.substr(0, locale.find_first_of(".@"));
    if (tag.empty() || tag == "C" || tag == "POSIX") return std::nullopt;
    std::replace(tag.begin(), tag.end(), '_', '-');
    return tag;
}

std::vector<std::string> preferredLanguages(const UserDefaults& defaults, const Environment& environment) {
    std::vector<std::string> languages;
    auto add = [&](const std::string& tag) {
        if (!tag.empty() && std::find(languages.begin(), languages.end(), tag) == languages.end()) {
            languages.push_back(tag);
        }
    };

    if (auto stored = defaults.stringListValue("AppleLanguages")) {
        for (const auto& tag : *stored) add(tag);
    }
    if (auto list = environment.variable("LANGUAGE")) {
        std::istringstream entries(*list);
        for (std::string entry; std::getline(entries, entry, ':');) {
            if (auto tag = languageTagFromPosixLocale(entry)) add(*tag);
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        auto value = environment.variable(name);
        if (!value || value->empty()) continue;
        if (auto tag = languageTagFromPosixLocale(*value)) add(*tag);
        break;
    }
    return languages;
}

} // namespace platform
