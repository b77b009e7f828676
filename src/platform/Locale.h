#pragma once

#include "platform/Environment.h"
#include "platform/UserDefaults.h"

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The session's preferred interface languages, most preferred first, as language tags such as
// "de-DE" or "zh-Hans-CN": the stored "AppleLanguages" list, then LANGUAGE (a colon-separated
// list), then the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
std::vector<std::string> preferredLanguages(const UserDefaults& defaults, const Environment& environment);

// "de_DE.UTF-8" -> "de-DE", "sr_RS@latin" -> "sr-RS"; the C and POSIX locales give nothing.
std::optional<std::string> languageTagFromPosixLocale(const std::string& locale);

} // namespace platform
