#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace platform {

// The program's resources and build information: a folder of resources (language folders,
// images, films) and a small dictionary of facts: the version ("CFBundleShortVersionString")
// and the build it came from ("CFBundleVersion").
class Bundle {
public:
    using InfoDictionary = std::map<std::string, std::string>;

    Bundle() = default;
    Bundle(std::filesystem::path resourcePath, std::optional<InfoDictionary> info)
        : resourcePath_(std::move(resourcePath)), info_(std::move(info)) {}

    const std::filesystem::path& resourcePath() const { return resourcePath_; }
    const std::optional<InfoDictionary>& infoDictionary() const { return info_; }

    // The path of resource `name`.`type` when it exists (a file or a folder).
    std::optional<std::filesystem::path> pathForResource(const std::string& name, const std::string& type) const;

    // The version string ("CFBundleShortVersionString" of the information), when present.
    std::optional<std::string> appVersion() const;

    // The program's own bundle: resources installed beside the program, or the source tree's
    // resources in a build tree. Tests replace it with setMain.
    static const Bundle& main();
    static void setMain(Bundle bundle);

private:
    std::filesystem::path resourcePath_;
    std::optional<InfoDictionary> info_;
};

} // namespace platform
