#include "platform/system/JsonFileUserDefaults.h"

#include "platform/system/AtomicFileWriter.h"
#include "platform/system/Base64.h"
#include "platform/system/FolderLock.h"
#include "platform/system/JsonOverflowingNumbers.h"
#include "platform/system/SmallFileReader.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <cmath>
#include <cstring>
#include <ctime>
#include <iostream>
#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace platform {

using nlohmann::json;

namespace {

constexpr int formatVersion = 1;
const std::string tooLarge = "the settings would be larger than 1 MiB, the most a settings file may hold";
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

// A fresh name beside `target` for a copy of it kept aside, tried from `attempt` 1 on.
std::filesystem::path asideName(const std::filesystem::path& target, int attempt) {
    auto aside = target;
    aside += ".unreadable-" + timestamp();
    if (attempt > 1) aside += "-" + std::to_string(attempt);
    return aside;
}

// The settings file as it is on disk.
struct StoredFile {
    enum class State { missing, usable, unusable };
    State state = State::missing;
    std::string problem; // why it is unusable
    std::string text;    // as read, when usable
    std::map<std::string, DefaultsValue> values;
    std::vector<std::string> leftOut; // keys whose values cannot be read
};

StoredFile unusable(std::string problem) {
    StoredFile stored;
    stored.state = StoredFile::State::unusable;
    stored.problem = std::move(problem);
    return stored;
}

StoredFile readStoredFile(const std::filesystem::path& target) {
    auto file = readSmallFile(target, JsonFileUserDefaults::maximumFileSize);
    switch (file.failure) {
    case SmallFile::Failure::none: break;
    case SmallFile::Failure::missing: return {};
    case SmallFile::Failure::notRegularFile:
    case SmallFile::Failure::unreadable: return unusable("it cannot be read");
    case SmallFile::Failure::tooLarge:
        return unusable("it is larger than " + std::to_string(JsonFileUserDefaults::maximumFileSize) + " bytes");
    }

    // Nesting deeper than any settings file has is refused before parsing, so it costs no memory.
    const auto scan = scanJson(file.contents, JsonFileUserDefaults::maximumNesting);
    if (scan.tooDeep) return unusable("it is nested more than " + std::to_string(JsonFileUserDefaults::maximumNesting) + " levels deep");
    const auto document = json::parse(scan.inRange ? *scan.inRange : file.contents, nullptr, /*allow_exceptions=*/false);
    if (document.is_discarded()) return unusable("it is not valid JSON");
    if (!document.is_object() || !document.contains("values") || !document["values"].is_object()) {
        return unusable("it holds no table of values");
    }
    StoredFile stored;
    stored.state = StoredFile::State::usable;
    for (const auto& [key, entry] : document["values"].items()) {
        if (auto value = decode(entry)) stored.values.emplace(key, std::move(*value));
        else stored.leftOut.push_back(key);
    }
    stored.text = std::move(file.contents);
    return stored;
}

void reportLeftOut(const std::filesystem::path& target, const std::vector<std::string>& keys) {
    for (std::size_t i = 0; i < keys.size() && i < maximumReportedEntries; ++i) {
        std::cerr << "zentaris: settings file " << target << ": the value of "
                  << json(keys[i]).dump(-1, ' ', false, json::error_handler_t::replace) << " is unreadable and left out\n";
    }
    if (keys.size() > maximumReportedEntries) {
        std::cerr << "zentaris: settings file " << target << ": " << keys.size() - maximumReportedEntries
                  << " more unreadable values left out\n";
    }
}

// Moves an unusable file out of the way under a fresh name; 0 or the errno that stopped it.
// `then` says what happens once it is moved.
int moveAside(const std::filesystem::path& target, const std::string& reason, const std::string& then) {
    std::error_code error;
    std::filesystem::path aside;
    for (int attempt = 1;; ++attempt) {
        aside = asideName(target, attempt);
        // The name is taken only if it is still free at the moment of the move: another writer may
        // be keeping a copy aside in this same second.
        if (::renameat2(AT_FDCWD, target.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) break;
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) {
            error.assign(errno, std::generic_category());
            break;
        }
        // A file system that cannot refuse to replace: look first, then move.
        if (std::filesystem::exists(std::filesystem::symlink_status(aside, error))) continue;
        std::filesystem::rename(target, aside, error);
        break;
    }
    if (error) {
        // Never overwrite a file we could not move.
        std::cerr << "zentaris: settings file " << target << " is unusable (" << reason << ") and could not be moved to "
                  << aside << " (" << error.message() << "); changes are not saved while it is there\n";
        return error.value();
    }
    std::cerr << "zentaris: settings file " << target << " is unusable (" << reason << "); moved it to " << aside
              << " and " << then << "\n";
    return 0;
}

// Keeps `text`, the file as it was with values left out, in a copy beside it; 0 or the errno
// that stopped it.
int keepCopyAside(const std::filesystem::path& target, const std::string& text) {
    for (int attempt = 1;; ++attempt) {
        const auto aside = asideName(target, attempt);
        const int failure = writeNewFileDurably(aside, text, 0600);
        if (failure == EEXIST) continue;
        if (failure != 0) {
            std::cerr << "zentaris: cannot keep a copy of settings file " << target << " as " << aside << " ("
                      << std::strerror(failure) << "); it is not replaced\n";
            return failure;
        }
        std::cerr << "zentaris: kept settings file " << target << " as it was, with its unreadable values, as " << aside
                  << "\n";
        return 0;
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
    auto stored = readStoredFile(target);
    if (stored.state == StoredFile::State::unusable) {
        moveAside(target, stored.problem, "started with default settings");
        return;
    }
    // Only these entries are lost; the file as it was is kept aside before it is next written.
    reportLeftOut(target, stored.leftOut);
    replaceValues(std::move(stored.values));
}

void JsonFileUserDefaults::persist(const std::string& key) {
    // The value is already held here; another writer's later change of it outranks it.
    auto value = object(key);
    const auto differs = [](const std::optional<DefaultsValue>& seen, const std::optional<DefaultsValue>& stored) {
        return seen != stored;
    };
    report(save(key, {[value](const std::optional<DefaultsValue>&) { return value; }, differs, std::nullopt},
                /*outright=*/true));
}

void JsonFileUserDefaults::update(const std::string& key, Change change, ChangedByOthers changedByOthers) {
    // This session sees its change even while the file cannot be read; once it is read, the value
    // is what the change makes of the value there.
    storeQuietly(key, change(object(key)));
    report(save(key, {std::move(change), std::move(changedByOthers), std::nullopt}, /*outright=*/false));
    notifyChanged(key);
}

void JsonFileUserDefaults::setDerived(const std::string& key, DefaultsValue value) {
    storingDerived_ = true;
    set(key, std::move(value));
    storingDerived_ = false;
}

void JsonFileUserDefaults::reportUnreadableValue(const std::string& key) {
    unreadable_.insert_or_assign(key, object(key));
    std::cerr << "zentaris: settings file " << followLinks(file_) << ": the value of "
              << json(key).dump(-1, ' ', false, json::error_handler_t::replace)
              << " cannot be read and counts as absent; the file is copied aside before that value is replaced\n";
}

void JsonFileUserDefaults::synchronize() {
    if (!unsaved_.empty()) report(saveUnsaved());
}

std::vector<std::string> JsonFileUserDefaults::unsavedKeys() const {
    std::vector<std::string> keys;
    for (const auto& [key, pending] : unsaved_) keys.push_back(key);
    return keys;
}

void JsonFileUserDefaults::saveBeforeQuitting() {
    if (std::exchange(quitting_, true)) return;
    // The last try may wait for the lock even when a wait ran out this turn.
    lockWaitRanOut_ = false;
    if (!unsaved_.empty()) saveUnsaved();
    std::vector<std::string> lost;
    for (const auto& [key, pending] : unsaved_) {
        if (!pending.derived) lost.push_back(json(key).dump(-1, ' ', false, json::error_handler_t::replace));
    }
    if (lost.empty()) return;
    std::cerr << "zentaris: these changed settings could not be saved and are lost:";
    for (const auto& key : lost) std::cerr << ' ' << key;
    std::cerr << "\n";
}

void JsonFileUserDefaults::report(const std::string& failure) {
    // Observers hear of values taken from other writers only now, outside the lock.
    for (const auto& key : std::exchange(takenFromOthers_, {})) notifyChanged(key);
    if (failure.empty()) return;
    // One report before the user at a time; standard error hears of each failure.
    if (std::exchange(reportOpen_, true)) return;
    if (onWriteFailure_) onWriteFailure_(failure);
}

std::string JsonFileUserDefaults::save(const std::string& key, KeptChange change, bool outright) {
    auto& pending = unsaved_[key];
    if (outright) {
        // A value set outright replaces whatever was still to be done to it.
        pending.changes.clear();
        pending.derived = storingDerived_;
    } else {
        pending.derived = false;
    }
    pending.changes.push_back(std::move(change));
    tooLargeKeys_.erase(key);
    auto failure = saveUnsaved();
    if (failure == tooLarge && unsaved_.count(key)) tooLargeKeys_.insert(key);
    // The caller tells the observers of the key it changed.
    std::erase(takenFromOthers_, key);
    return failure;
}

void JsonFileUserDefaults::applyKeptChangesTo(const std::map<std::string, DefaultsValue>& onDisk) {
    for (auto entry = unsaved_.begin(); entry != unsaved_.end();) {
        const auto& key = entry->first;
        const auto found = onDisk.find(key);
        const auto there = found == onDisk.end() ? std::nullopt : std::optional(found->second);
        auto value = there;
        std::vector<KeptChange> kept;
        for (auto& change : entry->second.changes) {
            // Another writer changed what this change sets after this store last read it: theirs is later.
            if (change.seen && change.changedByOthers && change.changedByOthers(*change.seen, there)) continue;
            value = change.change(value);
            change.seen = there;
            kept.push_back(std::move(change));
        }
        entry->second.changes = std::move(kept);
        if (object(key) != value) {
            storeQuietly(key, value);
            takenFromOthers_.push_back(key);
        }
        if (value == there) {
            // The file already holds what this store holds: nothing of it waits to be saved.
            tooLargeKeys_.erase(key);
            entry = unsaved_.erase(entry);
        } else {
            ++entry;
        }
    }
}

std::string JsonFileUserDefaults::saveUnsaved() {
    // Through a link the target is replaced, in its own folder so the rename stays atomic.
    const auto target = followLinks(file_);
    const auto refused = [&target](std::string reason) {
        std::cerr << "zentaris: cannot save settings to " << target << " (" << reason << ")\n";
        return reason;
    };
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    // Another writer's read, change and replace never falls between ours; a change never goes
    // ahead unguarded past a holder that keeps the lock.
    const FolderLock lock(target.parent_path(),
                          lockWaitRanOut_ ? std::chrono::milliseconds(0) : FolderLock::standardWait);
    // The file is only ever replaced whole, so what others saved can be read while one holds the
    // lock: each change then knows what it was made against, a missing file included. Read after
    // the wait ran out, only a usable file tells what others saved: one missing or unusable may be
    // another program's write in place, halfway. Kept changes then keep what they knew.
    auto stored = readStoredFile(target);
    if (stored.state == StoredFile::State::usable || (stored.state == StoredFile::State::missing && !lock.timedOut())) {
        applyKeptChangesTo(stored.values);
    }
    if (lock.timedOut()) {
        // The rest of this turn's saves are refused at once; the next turn waits again.
        if (turns_ && !std::exchange(lockWaitRanOut_, true)) {
            waitAgainNextTurn_ = turns_->post([this] { lockWaitRanOut_ = false; });
        }
        return refused("another program kept the settings folder locked");
    }
    // With no file to write onto, the values held here, which carry every change, are the best there is.
    const auto& onDisk = stored.state == StoredFile::State::unusable ? this->values() : stored.values;
    // The file with every unsaved key but those `leftOut` written onto it.
    const auto fileWith = [&](const std::set<std::string>& leftOut) {
        auto values = onDisk;
        for (const auto& [key, pending] : unsaved_) {
            if (leftOut.count(key)) continue;
            if (auto value = object(key)) values.insert_or_assign(key, std::move(*value));
            else values.erase(key);
        }
        json table = json::object();
        for (const auto& [name, value] : values) table[name] = encode(value);
        // Compact, and never larger than the file is read with: whatever is written is read back.
        return json{{"version", formatVersion}, {"values", table}}.dump() + "\n";
    };
    std::set<std::string> leftOut;
    std::string text = fileWith(leftOut);
    // A change refused for its size waits, unsaved, for room; it holds back no change after it.
    if (text.size() > maximumFileSize && !tooLargeKeys_.empty()) text = fileWith(leftOut = tooLargeKeys_);
    if (text.size() > maximumFileSize) return refused(tooLarge);
    if (stored.state == StoredFile::State::unusable) {
        if (const int failure = moveAside(target, stored.problem, "wrote the settings in use in its place")) {
            return std::strerror(failure);
        }
    }
    // Never replace a file holding values we leave out, or one we cannot read and are about to
    // replace, before a copy of it is kept.
    const auto replacesUnreadable = [&] {
        for (const auto& [key, value] : unreadable_) {
            const auto found = stored.values.find(key);
            const auto there = found == stored.values.end() ? std::nullopt : std::optional(found->second);
            if (unsaved_.count(key) && !leftOut.count(key) && there == value) return true;
        }
        return false;
    };
    if (stored.state == StoredFile::State::usable && (!stored.leftOut.empty() || replacesUnreadable())) {
        if (const int failure = keepCopyAside(target, stored.text)) return std::strerror(failure);
    }
    // A new file is private; an existing one keeps the permissions its owner gave it.
    if (const int failure = replaceFileAtomically(target, text, 0600, beforeReplace_)) return refused(std::strerror(failure));
    std::erase_if(unsaved_, [&leftOut](const auto& entry) { return !leftOut.count(entry.first); });
    tooLargeKeys_ = std::move(leftOut);
    return {};
}

} // namespace platform
