#include "platform/system/LinuxHostInformation.h"

#include "platform/system/SmallFileReader.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <map>
#include <sstream>

namespace platform {

namespace {

constexpr std::size_t maxFileBytes = 64 * 1024;

std::optional<std::string> readHostFile(const std::filesystem::path& path) {
    auto file = readSmallFile(path, maxFileBytes);
    if (!file) return std::nullopt;
    return std::move(file.contents);
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A value of os-release: shell-like, optionally quoted, with backslash escapes inside quotes.
std::string unquote(const std::string& raw) {
    if (raw.size() < 2 || (raw.front() != '"' && raw.front() != '\'') || raw.back() != raw.front()) return raw;
    std::string out;
    for (std::size_t i = 1; i + 1 < raw.size(); ++i) {
        if (raw.front() == '"' && raw[i] == '\\' && i + 2 < raw.size()) ++i;
        out += raw[i];
    }
    return out;
}

} // namespace

std::optional<std::string> LinuxHostInformation::distributionName(const std::string& osRelease) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(osRelease);
    for (std::string line; std::getline(lines, line);) {
        line = trim(line);
        if (line.empty() || line.front() == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        fields[line.substr(0, equals)] = unquote(line.substr(equals + 1));
    }
    if (auto it = fields.find("PRETTY_NAME"); it != fields.end() && !it->second.empty()) return it->second;
    auto name = fields.find("NAME");
    if (name == fields.end() || name->second.empty()) return std::nullopt;
    auto version = fields.find("VERSION");
    if (version == fields.end() || version->second.empty()) return name->second;
    return name->second + " " + version->second;
}

std::string LinuxHostInformation::operatingSystemVersionString() const {
    std::optional<std::string> distribution;
    for (const char* candidate : {"etc/os-release", "usr/lib/os-release"}) {
        if (auto text = readHostFile(root_ / candidate)) {
            distribution = distributionName(*text);
            if (distribution) break;
        }
    }
    std::string result = distribution.value_or("Linux");
    utsname names{};
    if (uname(&names) == 0) result += std::string(", kernel ") + names.release;
    return result;
}

std::uint64_t LinuxHostInformation::physicalMemory() const {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

std::optional<std::string> LinuxHostInformation::hardwareModel() const {
    auto text = readHostFile(root_ / "sys/class/dmi/id/product_name");
    if (!text) return std::nullopt;
    auto model = trim(text->substr(0, text->find('\0')));
    if (model.empty()) return std::nullopt;
    return model;
}

} // namespace platform
