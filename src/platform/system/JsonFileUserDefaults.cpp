#include "platform/system/JsonFileUserDefaults.h"

#include "platform/system/Base64.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

using nlohmann::json;

namespace {

constexpr int formatVersion = 1;

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
    if (name == "integer" && value.is_number_integer()) return DefaultsValue{value.get<std::int64_t>()};
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

bool writeAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const auto n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
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
    std::error_code error;
    if (!std::filesystem::exists(file_, error)) return;

    std::ifstream in(file_, std::ios::binary);
    if (!in) return moveAside("it cannot be read");
    std::stringstream text;
    text << in.rdbuf();

    const auto document = json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
    if (document.is_discarded()) return moveAside("it is not valid JSON");
    if (!document.is_object() || !document.contains("values") || !document["values"].is_object()) {
        return moveAside("it holds no table of values");
    }
    std::map<std::string, DefaultsValue> loaded;
    for (const auto& [key, entry] : document["values"].items()) {
        auto value = decode(entry);
        // One unreadable entry makes the whole file suspect; keep it all aside rather than drop it.
        if (!value) return moveAside("the value of \"" + key + "\" is unreadable");
        loaded.emplace(key, std::move(*value));
    }
    replaceValues(std::move(loaded));
}

void JsonFileUserDefaults::moveAside(const std::string& reason) {
    std::error_code error;
    auto aside = file_;
    aside += ".unreadable-" + timestamp();
    for (int n = 2; std::filesystem::exists(aside, error); ++n) {
        aside = file_;
        aside += ".unreadable-" + timestamp() + "-" + std::to_string(n);
    }
    std::filesystem::rename(file_, aside, error);
    if (error) {
        std::cerr << "zentaris: settings file " << file_ << " is unusable (" << reason << ") and could not be moved to "
                  << aside << " (" << error.message() << "); starting with default settings, changes will not be saved\n";
        // Never overwrite a file we could not move.
        persistent_ = false;
        return;
    }
    std::cerr << "zentaris: settings file " << file_ << " is unusable (" << reason << "); moved it to " << aside
              << " and started with default settings\n";
}

void JsonFileUserDefaults::save() const {
    if (!persistent_) return;
    json values = json::object();
    for (const auto& [key, value] : this->values()) values[key] = encode(value);
    const std::string text = json{{"version", formatVersion}, {"values", values}}.dump(2) + "\n";

    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    auto temporary = file_;
    temporary += ".tmp-" + std::to_string(::getpid());

    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::cerr << "zentaris: cannot write settings to " << temporary << "\n";
        return;
    }
    const bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    ::close(fd);
    if (!written || (beforeReplace_ && !beforeReplace_())) {
        if (!written) std::cerr << "zentaris: cannot write settings to " << temporary << "\n";
        if (!written) std::filesystem::remove(temporary, error);
        return;
    }
    std::filesystem::rename(temporary, file_, error);
    if (error) {
        std::cerr << "zentaris: cannot replace settings file " << file_ << " (" << error.message() << ")\n";
        std::filesystem::remove(temporary, error);
    }
}

} // namespace platform
