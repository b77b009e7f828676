#pragma once

#include "platform/UserDefaults.h"

#include <filesystem>
#include <functional>
#include <map>

namespace platform {

// The user defaults kept in one JSON file that records each value's type. Every change rewrites
// the file atomically (temporary file, flush, rename), so a crash leaves the old or the new file,
// never half of one. A file that cannot be read, or is larger or more deeply nested than a
// settings file ever is, is moved aside, never overwritten. An entry that cannot be read (say a
// type a newer version writes) is left out on its own; before the file is first rewritten without
// it, a copy of the file as it was is kept aside. When the file is a symbolic link (say into a
// folder of dotfiles), the link stays and its target is rewritten; the file's permissions stay as
// the user set them.
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

    // Called with the reason (the system's error text) when a change could not be saved: once,
    // until a later change is saved again. Every change tries to save anew.
    void setWriteFailureHandler(std::function<void(const std::string& reason)> handler) {
        onWriteFailure_ = std::move(handler);
    }

protected:
    void persist() override;

private:
    void load();
    void moveAside(const std::filesystem::path& target, const std::string& reason);
    // 0 when the file was written, else the errno that stopped it.
    int save();
    int keepOriginalAside(const std::filesystem::path& target);

    std::filesystem::path file_;
    std::function<bool()> beforeReplace_;
    std::function<void(const std::string&)> onWriteFailure_;
    // The file as read when it held entries left out; copied aside before it is first replaced.
    std::optional<std::string> originalWithLostEntries_;
    // Set when an unusable file could not be moved aside: it is never overwritten.
    int unwritableBecause_ = 0;
    bool failing_ = false;
};

} // namespace platform
