#include "preferences/LanguageBundle.h"

#include "platform/system/SmallFileReader.h"

#include <iostream>
#include <mutex>
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

// What a messages file looked like when it was read: a file that still looks the same is not read again.
struct FileStamp {
    std::filesystem::file_type type = std::filesystem::file_type::none;
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const std::filesystem::path& file) {
    std::error_code error;
    FileStamp stamp;
    stamp.type = std::filesystem::status(file, error).type();
    stamp.modified = std::filesystem::last_write_time(file, error);
    if (stamp.type == std::filesystem::file_type::regular) stamp.size = std::filesystem::file_size(file, error);
    return stamp;
}

struct ReadFile {
    bool read = false;
    FileStamp stamp;
    LanguageBundle bundle;
};

// The language folders of the main bundle are opened by several parts of the program.
struct ReadFiles {
    std::mutex mutex;
    std::map<std::filesystem::path, ReadFile> byPath;
};

ReadFiles& readFiles() {
    static ReadFiles files;
    return files;
}

// A key quoted in a report, cut short (at a character boundary) when it is long.
std::string quoted(const std::string& key) {
    constexpr std::size_t shown = 60;
    if (key.size() <= shown) return "\"" + key + "\"";
    std::size_t end = shown;
    while (end > 0 && (static_cast<unsigned char>(key[end]) & 0xC0) == 0x80) --end;
    return "\"" + key.substr(0, end) + "…\"";
}

} // namespace

void LanguageBundle::addProblem(const std::filesystem::path& file, int line, std::string message) {
    ++problemCount_;
    if (problems_.size() < maxReportedProblems) problems_.push_back({file, line, std::move(message)});
}

void LanguageBundle::reportProblems() const {
    for (const auto& problem : problems_) {
        std::cerr << problem.file.string() << ":" << problem.line << ": " << problem.message << " (line skipped)\n";
    }
    if (problemCount_ > problems_.size()) {
        std::cerr << problems_.front().file.string() << ": " << (problemCount_ - problems_.size())
                  << " more lines skipped\n";
    }
}

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
            bundle.addProblem(file, number, "expected `key = value`");
            continue;
        }
        const auto key = trim(content.substr(0, equals));
        const auto value = unescape(trim(content.substr(equals + 1)));
        if (key.empty()) {
            bundle.addProblem(file, number, "the key is empty");
        } else if (!value) {
            bundle.addProblem(file, number, "the value has an unknown escape (use \\n, \\t or \\\\)");
        } else if (!bundle.texts_.emplace(key, *value).second) {
            bundle.addProblem(file, number, quoted(key) + " is defined twice; the first one is kept");
        }
    }
    return bundle;
}

std::optional<LanguageBundle> LanguageBundle::open(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return std::nullopt;

    const auto file = folder / messagesFileName;
    const auto stamp = stampOf(file);
    auto& files = readFiles();
    const std::lock_guard lock(files.mutex);
    auto canonical = std::filesystem::weakly_canonical(file, error);
    auto& known = files.byPath[error ? file : canonical];
    if (!known.read || known.stamp != stamp) {
        known.read = true;
        known.stamp = stamp;
        known.bundle = LanguageBundle();
        const auto text = platform::readSmallFile(file, maxFileBytes);
        if (text) {
            known.bundle = parse(text.contents, file);
            known.bundle.reportProblems();
        } else if (text.failure != platform::SmallFile::Failure::missing) {
            std::cerr << platform::describeUnreadFile(file, text, maxFileBytes) << "\n";
        }
    }
    LanguageBundle bundle = known.bundle;
    bundle.folder_ = folder;
    return bundle;
}

std::string LanguageBundle::localizedString(const std::string& key, const std::string& fallback) const {
    auto it = texts_.find(key);
    return it == texts_.end() ? fallback : it->second;
}

} // namespace zentaris
