#include "services/AppVersionResponse.h"

#include <nlohmann/json.hpp>

namespace zentaris {

namespace {

template <typename T>
bool readMember(const nlohmann::json& object, const char* name, T& out) {
    auto it = object.find(name);
    if (it == object.end()) return false;
    if constexpr (std::is_same_v<T, bool>) {
        if (!it->is_boolean()) return false;
    } else {
        if (!it->is_string()) return false;
    }
    out = it->template get<T>();
    return true;
}

} // namespace

std::optional<AppVersionResponse> AppVersionResponse::decode(const std::string& json) {
    const auto document = nlohmann::json::parse(json, nullptr, /*allow_exceptions=*/false);
    if (!document.is_object()) return std::nullopt;
    AppVersionResponse response;
    const bool complete = readMember(document, "updateAvailable", response.updateAvailable)
                       && readMember(document, "latestVersion", response.latestVersion)
                       && readMember(document, "minRequiredVersion", response.minRequiredVersion)
                       && readMember(document, "downloadUrl", response.downloadUrl)
                       && readMember(document, "releaseNotes", response.releaseNotes)
                       && readMember(document, "forceUpdate", response.forceUpdate);
    if (!complete) return std::nullopt;
    return response;
}

std::optional<std::string> encodeVersionRequest(const std::string& currentVersion, const std::string& platform) {
    try {
        return nlohmann::json{{"currentVersion", currentVersion}, {"platform", platform}}.dump();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

} // namespace zentaris
