#include "platform/system/JsonFileUserDefaults.h"

#include "platform/system/Base64.h"
#include "platform/system/SmallFileReader.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <cerrno>
#include <signal.h>
#include <cstring>
#include <utility>
#include <iostream>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

using nlohmann::json;

namespace {

constexpr int formatVersion = 1;
// Beyond this many, unreadable values are counted on standard error, not named.
constexpr std::size_t maximumReportedEntries = 10;

json encode(const DefaultsValue& value) {
    struct Encoder {
        json operator()(bool v) const { return {{"type", "bool"}, {"value", v}}; }
        json operator()(std::int64_t v) const { return {{"type", "integer"}, {"value", v}}; }
        json operator()(double v) const {
            // JSON has no infinities or NaN; keep them as text so nothing is lost.
            if (!std::isfinite(v)) return {{"type", "double"}, {"value", std::isnan(v) ? "nan" : (v > 0 ? "inf" : "-inf")}};
            return {{"type", "double"}, {"value", v}};
        }
        json operator()(const std::string& v) const { return {{"type", "string"}, {"value", v}}; }
        json operator()(const Data& v) const { return {{"type", "data"}, {"value", base64Encode(v.bytes)}}; }
        json operator()(const Date& v) const { return {{"type", "date"}, {"value", v.secondsSince1970}}; }
        json operator()(const StringList& v) const { return {{"type", "stringList"}, {"value", v}}; }
    };
    return std::visit(Encoder{}, value);
}

std::optional<DefaultsValue> decode(const json& entry) {
    if (!entry.is_object() || !entry.contains("type") || !entry.contains("value")) return std::nullopt;
    const auto& type = entry["type"];
    const auto& value = entry["value"];
    if (!type.is_string()) return std::nullopt;
    const auto name = type.get<std::string>();
    if (name == "bool" && value.is_boolean()) return DefaultsValue{value.get<bool>()};
    if (name == "integer" && value.is_number_integer()) {
        // Above the signed 64-bit range the parser keeps an unsigned number; reading it as signed would wrap.
        if (value.is_number_unsigned() &&
            value.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return std::nullopt;
        }
        return DefaultsValue{value.get<std::int64_t>()};
    }
    if (name == "double" && value.is_number()) return DefaultsValue{value.get<double>()};
    if (name == "double" && value.is_string()) {
        const auto text = value.get<std::string>();
        if (text == "nan") return DefaultsValue{std::nan("")};
        if (text == "inf") return DefaultsValue{HUGE_VAL};
        if (text == "-inf") return DefaultsValue{-HUGE_VAL};
        return std::nullopt;
    }
    if (name == "string" && value.is_string()) return DefaultsValue{value.get<std::string>()};
    if (name == "data" && value.is_string()) {
        if (auto bytes = base64Decode(value.get<std::string>())) return DefaultsValue{Data{*bytes}};
        return std::nullopt;
    }
    if (name == "date" && value.is_number()) return DefaultsValue{Date{value.get<double>()}};
    if (name == "stringList" && value.is_array()) {
        StringList list;
        for (const auto& item : value) {
            if (!item.is_string()) return std::nullopt;
            list.push_back(item.get<std::string>());
        }
        return DefaultsValue{std::move(list)};
    }
    return std::nullopt;
}

std::string timestamp() {
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &utc);
    return text;
}

// The file a path finally names, following symbolic links (relative ones from their own folder),
// also when the last one points at nothing yet. A loop of links gives the path itself.
std::filesystem::path followLinks(const std::filesystem::path& path) {
    auto current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error)) return current;
        const auto target = std::filesystem::read_symlink(current, error);
        if (error) return current;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return path;
}

bool writeAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const auto n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes `text` to `file` and flushes it to disk; 0 or the errno that stopped it. The file must
// not exist yet unless `replace` is set. A file left half written is removed.
int writeFileDurably(const std::filesystem::path& file, const std::string& text, bool replace, mode_t mode,
                     const std::filesystem::path& permissionsFrom = {}) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (replace ? O_TRUNC : O_EXCL), mode);
    if (fd < 0) return errno;
    // An existing file keeps the permissions its owner gave it.
    struct stat existing {};
    if (!permissionsFrom.empty() && ::stat(permissionsFrom.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(fd, existing.st_mode & 07777);
    }
    int failure = writeAll(fd, text) && ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure != 0) ::unlink(file.c_str());
    return failure;
}

// A fresh name beside `target` for a copy of it kept aside, tried from `attempt` 1 on.
std::filesystem::path asideName(const std::filesystem::path& target, int attempt) {
    auto aside = target;
    aside += ".unreadable-" + timestamp();
    if (attempt > 1) aside += "-" + std::to_string(attempt);
    return aside;
}

// Removes the temporary files that writes of processes no longer running left beside `target`
// when they were killed between writing and renaming.
void removeAbandonedTemporaries(const std::filesystem::path& target) {
    const std::string prefix = target.filename().string() + ".tmp-";
    std::error_code error;
    for (std::filesystem::directory_iterator it(target.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.size() > prefix.size() + 9 || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::string digits = name.substr(prefix.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(digits));
        std::error_code statusError;
        if (pid <= 0 || pid == ::getpid() ||
            it->symlink_status(statusError).type() != std::filesystem::file_type::regular) {
            continue;
        }
        if (::kill(pid, 0) == 0 || errno != ESRCH) continue; // that process still runs
        ::unlink(it->path().c_str());
    }
}

} // namespace

JsonFileUserDefaults::JsonFileUserDefaults(std::filesystem::path file) : file_(std::move(file)) { load(); }

std::filesystem::path JsonFileUserDefaults::defaultLocation() {
    std::filesystem::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".config";
    } else {
        base = std::filesystem::current_path() / ".config";
    }
    return base / "zentaris" / "defaults.json";
}

void JsonFileUserDefaults::load() {
    // A file reached through a link is judged, and if need be moved aside, where it really is.
    const auto target = followLinks(file_);
    auto file = readSmallFile(target, maximumFileSize);
    switch (file.failure) {
    case SmallFile::Failure::none: break;
    case SmallFile::Failure::missing: return;
    case SmallFile::Failure::notRegularFile:
    case SmallFile::Failure::unreadable: return moveAside(target, "it cannot be read");
    case SmallFile::Failure::tooLarge: return moveAside(target, "it is larger than " + std::to_string(maximumFileSize) + " bytes");
    }
    std::string text = std::move(file.contents);

    // Nesting deeper than any settings file has is dropped while parsing, so it costs no memory.
    bool tooDeep = false;
    const json::parser_callback_t limitDepth = [&tooDeep](int depth, json::parse_event_t event, json&) {
        if ((event == json::parse_event_t::object_start || event == json::parse_event_t::array_start) &&
            depth >= maximumNesting) {
            tooDeep = true;
            return false;
        }
        return true;
    };
    const auto document = json::parse(text, limitDepth, /*allow_exceptions=*/false);
    if (document.is_discarded()) return moveAside(target, "it is not valid JSON");
    if (tooDeep) return moveAside(target, "it is nested more than " + std::to_string(maximumNesting) + " levels deep");
    if (!document.is_object() || !document.contains("values") || !document["values"].is_object()) {
        return moveAside(target, "it holds no table of values");
    }
    std::map<std::string, DefaultsValue> loaded;
    std::size_t leftOut = 0;
    for (const auto& [key, entry] : document["values"].items()) {
        if (auto value = decode(entry)) {
            loaded.emplace(key, std::move(*value));
            continue;
        }
        // Only this entry is lost; the file as it was is kept aside before it is next written.
        if (++leftOut <= maximumReportedEntries) {
            std::cerr << "zentaris: settings file " << target << ": the value of " << json(key).dump(-1, ' ', false, json::error_handler_t::replace)
                      << " is unreadable and left out\n";
        }
    }
    if (leftOut > maximumReportedEntries) {
        std::cerr << "zentaris: settings file " << target << ": " << leftOut - maximumReportedEntries
                  << " more unreadable values left out\n";
    }
    if (leftOut > 0) originalWithLostEntries_ = std::move(text);
    replaceValues(std::move(loaded));
}

void JsonFileUserDefaults::moveAside(const std::filesystem::path& target, const std::string& reason) {
    std::error_code error;
    auto aside = asideName(target, 1);
    for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(aside, error)); ++n) aside = asideName(target, n);
    std::filesystem::rename(target, aside, error);
    if (error) {
        std::cerr << "zentaris: settings file " << target << " is unusable (" << reason << ") and could not be moved to "
                  << aside << " (" << error.message() << "); starting with default settings, changes will not be saved\n";
        // Never overwrite a file we could not move.
        unwritableBecause_ = error.value();
        return;
    }
    std::cerr << "zentaris: settings file " << target << " is unusable (" << reason << "); moved it to " << aside
              << " and started with default settings\n";
}

int JsonFileUserDefaults::keepOriginalAside(const std::filesystem::path& target) {
    for (int attempt = 1;; ++attempt) {
        const auto aside = asideName(target, attempt);
        const int failure = writeFileDurably(aside, *originalWithLostEntries_, /*replace=*/false, 0600);
        if (failure == EEXIST) continue;
        if (failure != 0) {
            std::cerr << "zentaris: cannot keep a copy of settings file " << target << " as " << aside << " ("
                      << std::strerror(failure) << "); it is not replaced\n";
            return failure;
        }
        std::cerr << "zentaris: kept settings file " << target << " as it was, with its unreadable values, as " << aside
                  << "\n";
        originalWithLostEntries_.reset();
        return 0;
    }
}

void JsonFileUserDefaults::persist() {
    const int failure = save();
    if (failure == 0) {
        failing_ = false;
        return;
    }
    // One word to the user for a run of failures; standard error hears of each.
    if (std::exchange(failing_, true)) return;
    if (onWriteFailure_) onWriteFailure_(std::strerror(failure));
}

int JsonFileUserDefaults::save() {
    if (unwritableBecause_ != 0) return unwritableBecause_;
    json values = json::object();
    for (const auto& [key, value] : this->values()) values[key] = encode(value);
    const std::string text = json{{"version", formatVersion}, {"values", values}}.dump(2) + "\n";

    // Through a link the target is replaced, in its own folder so the rename stays atomic.
    const auto target = followLinks(file_);
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    removeAbandonedTemporaries(target);
    // Never replace a file holding values we left out before a copy of it is kept.
    if (originalWithLostEntries_) {
        if (const int failure = keepOriginalAside(target)) return failure;
    }
    auto temporary = target;
    temporary += ".tmp-" + std::to_string(::getpid());

    // A new file is private; an existing one keeps the permissions its owner gave it.
    if (const int failure = writeFileDurably(temporary, text, /*replace=*/true, 0600, target)) {
        std::cerr << "zentaris: cannot write settings to " << temporary << " (" << std::strerror(failure) << ")\n";
        return failure;
    }
    if (beforeReplace_ && !beforeReplace_()) return 0;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::cerr << "zentaris: cannot replace settings file " << target << " (" << error.message() << ")\n";
        const int failure = error.value();
        std::filesystem::remove(temporary, error);
        return failure;
    }
    return 0;
}

} // namespace platform
