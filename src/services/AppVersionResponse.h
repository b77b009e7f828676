#pragma once

#include <optional>
#include <string>

namespace zentaris {

// The version endpoint's answer. Every member is required, with exactly these JSON types.
struct AppVersionResponse {
    bool updateAvailable = false;
    std::string latestVersion;
    std::string minRequiredVersion;
    std::string downloadUrl;
    std::string releaseNotes;
    bool forceUpdate = false;

    // Nothing when the text is not a JSON object holding all six members with their types
    // (null counts as missing); other members are ignored.
    static std::optional<AppVersionResponse> decode(const std::string& json);

    bool operator==(const AppVersionResponse&) const = default;
};

// The request's body: {"currentVersion": …, "platform": …}; nothing when it cannot be encoded
// (a version that is not valid UTF-8).
std::optional<std::string> encodeVersionRequest(const std::string& currentVersion, const std::string& platform);

} // namespace zentaris
