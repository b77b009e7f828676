#include "preferences/LanguageBundle.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace zentaris {

namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Undoes the escapes of a value; nothing when an escape is unknown or unfinished.
std::optional<std::string> unescape(const std::string& raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out += raw[i];
            continue;
        }
        if (++i == raw.size()) return std::nullopt;
        switch (raw[i]) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

} // namespace

LanguageBundle LanguageBundle::parse(const std::string& text, const std::filesystem::path& file) {
    LanguageBundle bundle;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        const auto content = trim(line);
        if (content.empty() || content.front() == '#') continue;
        const auto equals = content.find('=');
        if (equals == std::string::npos) {
            bundle.problems_.push_back({file, number, "expected `key = value`"});
            continue;
        }
        const auto key = trim(content.substr(0, equals));
        const auto value = unescape(trim(content.substr(equals + 1)));
        if (key.empty()) {
            bundle.problems_.push_back({file, number, "the key is empty"});
        } else if (!value) {
            bundle.problems_.push_back({file, number, "the value has an unknown escape (use \\n, \\t or \\\\)"});
        } else if (!bundle.texts_.emplace(key, *value).second) {
            bundle.problems_.push_back({file, number, "\"" + key + "\" is defined twice; the first one is kept"});
        }
    }
    return bundle;
}

std::optional<LanguageBundle> LanguageBundle::open(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return std::nullopt;

    LanguageBundle bundle;
    const auto file = folder / messagesFileName;
    if (std::ifstream in{file, std::ios::binary}) {
        std::stringstream text;
        text << in.rdbuf();
        bundle = parse(text.str(), file);
        for (const auto& problem : bundle.problems_) {
            std::cerr << problem.file.string() << ":" << problem.line << ": " << problem.message << " (line skipped)\n";
        }
    }
    bundle.folder_ = folder;
    return bundle;
}

std::string LanguageBundle::localizedString(const std::string& key, const std::string& fallback) const {
    auto it = texts_.find(key);
    return it == texts_.end() ? fallback : it->second;
}

} // namespace zentaris
