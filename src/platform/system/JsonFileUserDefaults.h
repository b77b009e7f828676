#pragma once

#include "platform/UserDefaults.h"

#include <filesystem>
#include <functional>
#include <map>

namespace platform {

// The user defaults kept in one JSON file that records each value's type. Every change rewrites
// the file atomically (temporary file, flush, rename), so a crash leaves the old or the new file,
// never half of one. A file that cannot be read, or is larger or more deeply nested than a
// settings file ever is, is moved aside, never overwritten. When the file is a symbolic link
// (say into a folder of dotfiles), the link stays and its target is rewritten; the file's
// permissions stay as the user set them.
class JsonFileUserDefaults : public MemoryUserDefaults {
public:
    static constexpr std::size_t maximumFileSize = 1024 * 1024;
    static constexpr int maximumNesting = 32;

    explicit JsonFileUserDefaults(std::filesystem::path file);

    // $XDG_CONFIG_HOME/zentaris/defaults.json, or ~/.config/zentaris/defaults.json.
    static std::filesystem::path defaultLocation();

    const std::filesystem::path& file() const { return file_; }

    // Called between writing the temporary file and renaming it; answering false abandons the
    // write there, as a crash would. For tests of interrupted writes.
    void setBeforeReplaceHook(std::function<bool()> hook) { beforeReplace_ = std::move(hook); }

protected:
    void persist() override { save(); }

private:
    void load();
    void moveAside(const std::filesystem::path& target, const std::string& reason);
    void save() const;

    std::filesystem::path file_;
    std::function<bool()> beforeReplace_;
    bool persistent_ = true;
};

} // namespace platform
