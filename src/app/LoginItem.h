#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zentaris {

// Starting the program at login, through an XDG autostart entry
// ($XDG_CONFIG_HOME/autostart/zentaris.desktop). The entry carries a marker so that only an
// entry written by the program is ever replaced or removed; one the user wrote is left alone.
class LoginItem {
public:
    LoginItem(std::filesystem::path autostartDirectory, std::filesystem::path executable);

    // $XDG_CONFIG_HOME/autostart, or ~/.config/autostart.
    static std::filesystem::path defaultAutostartDirectory();

    // Writes the entry atomically; false when it could not be written or a foreign entry is in the way.
    bool registerItem();
    // Removes the entry when it is ours; true when no entry of ours remains.
    bool unregisterItem();
    bool isRegistered() const;

    const std::filesystem::path& entryPath() const { return entry_; }

    // The value of a desktop entry's Exec key that runs `path` with no arguments: the path in double
    // quotes, with ", `, $ and \ behind a backslash and % doubled, then the key file's own escaping,
    // which doubles every backslash again. Nothing for a path holding a control character, which
    // no entry can carry.
    static std::optional<std::string> quoteForExec(const std::string& path);

private:
    bool entryIsOurs() const;

    std::filesystem::path entry_;
    std::filesystem::path executable_;
};

} // namespace zentaris
