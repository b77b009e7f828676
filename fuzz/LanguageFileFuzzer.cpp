// A language's messages file, as a translator or a damaged install could leave it: every line
// either gives a text or is counted as a problem, no text holds an unescaped line break, and only
// a few problems are kept for the report.
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
    if (bundle.problems().size() > zentaris::LanguageBundle::maxReportedProblems) std::abort();
    if (bundle.problemCount() < bundle.problems().size()) std::abort();
    for (const auto& problem : bundle.problems()) {
        if (problem.line < 1) std::abort();
    }
    return 0;
}
