#include "platform/Bundle.h"

#include "BuildVersion.h"

#include <cstdlib>
#include <system_error>

#ifndef ZENTARIS_VERSION
#define ZENTARIS_VERSION "0.0.0"
#endif
#ifndef ZENTARIS_SOURCE_RESOURCES
#define ZENTARIS_SOURCE_RESOURCES ""
#endif

namespace platform {

namespace {

std::filesystem::path executableDirectory() {
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path{} : exe.parent_path();
}

// Installed: <prefix>/bin/zentaris with <prefix>/share/zentaris. Build tree: the source resources.
std::filesystem::path locateResources() {
    if (const char* overridden = std::getenv("ZENTARIS_RESOURCES"); overridden && *overridden) return overridden;
    std::error_code error;
    const auto installed = executableDirectory() / ".." / "share" / "zentaris";
    if (std::filesystem::is_directory(installed, error)) return std::filesystem::weakly_canonical(installed, error);
    return ZENTARIS_SOURCE_RESOURCES;
}

Bundle& mainBundle() {
    static Bundle bundle(locateResources(), Bundle::InfoDictionary{{"CFBundleShortVersionString", ZENTARIS_VERSION},
                                                                   {"CFBundleVersion", ZENTARIS_BUILD_VERSION}});
    return bundle;
}

} // namespace

std::optional<std::filesystem::path> Bundle::pathForResource(const std::string& name, const std::string& type) const {
    if (resourcePath_.empty() || name.empty()) return std::nullopt;
    // A resource name is one path component; anything that could leave the folder is not a resource.
    if (name.find('/') != std::string::npos || name == "." || name == "..") return std::nullopt;
    auto path = resourcePath_ / (type.empty() ? name : name + "." + type);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return std::nullopt;
    return path;
}

std::optional<std::string> Bundle::appVersion() const {
    if (!info_) return std::nullopt;
    auto it = info_->find("CFBundleShortVersionString");
    if (it == info_->end()) return std::nullopt;
    return it->second;
}

const Bundle& Bundle::main() { return mainBundle(); }

void Bundle::setMain(Bundle bundle) { mainBundle() = std::move(bundle); }

} // namespace platform
