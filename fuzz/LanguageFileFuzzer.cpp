// A language's messages file, as a translator or a damaged install could leave it: every line
// either gives a text or is reported, and no text holds an unescaped line break.
#include "preferences/LanguageBundle.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto bundle = zentaris::LanguageBundle::parse(text, "fuzz/messages.txt");
    for (const auto& [key, value] : bundle.texts()) {
        if (key.empty() || key.find('\n') != std::string::npos || key.find('=') != std::string::npos) std::abort();
        if (bundle.localizedString(key, "") != value) std::abort();
    }
    for (const auto& problem : bundle.problems()) {
        if (problem.line < 1) std::abort();
    }
    return 0;
}
