#include "app/LoginItem.h"

#include "platform/system/AtomicFileWriter.h"
#include "platform/system/SmallFileReader.h"

#include <cstdlib>
#include <sstream>

namespace zentaris {

namespace {
constexpr const char* marker = "X-Zentaris-LoginItem=true";
// Ours is a few hundred bytes; anything far larger was written by someone else.
constexpr std::size_t maxEntryBytes = 64 * 1024;
} // namespace

LoginItem::LoginItem(std::filesystem::path autostartDirectory, std::filesystem::path executable)
    : entry_(std::move(autostartDirectory) / "zentaris.desktop"), executable_(std::move(executable)) {}

std::filesystem::path LoginItem::defaultAutostartDirectory() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
        return std::filesystem::path(config) / "autostart";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/") / ".config" / "autostart";
}

std::optional<std::string> LoginItem::quoteForExec(const std::string& path) {
    std::string quoted = "\"";
    for (const char c : path) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return std::nullopt;
        // Inside the quotes: the backslash that keeps the character literal, itself escaped for the key file.
        if (c == '"' || c == '`' || c == '$') quoted += "\\\\"; // " -> \" for the quotes -> \\" in the key file
        if (c == '\\') quoted += "\\\\\\";                     // \ -> \\ for the quotes -> \\\\ in the key file
        if (c == '%') quoted += '%';                          // a lone % would start a field code
        quoted += c;
    }
    return quoted + "\"";
}

bool LoginItem::entryIsOurs() const {
    const auto entry = platform::readSmallFile(entry_, maxEntryBytes);
    if (!entry) return false;
    std::istringstream lines(entry.contents);
    for (std::string line; std::getline(lines, line);) {
        if (line == marker) return true;
    }
    return false;
}

bool LoginItem::isRegistered() const {
    std::error_code error;
    return std::filesystem::exists(entry_, error) && entryIsOurs();
}

bool LoginItem::registerItem() {
    std::error_code error;
    if (std::filesystem::exists(entry_, error) && !entryIsOurs()) return false;
    const auto exec = quoteForExec(executable_.string());
    if (!exec) return false;

    std::ostringstream text;
    text << "[Desktop Entry]\n"
         << "Type=Application\n"
         << "Name=Zentaris\n"
         << "Comment=Arrange windows with shortcuts, a tray menu and drag-to-snap\n"
         << "Exec=" << *exec << "\n"
         << "Icon=zentaris\n"
         << "Terminal=false\n"
         << "X-GNOME-Autostart-enabled=true\n"
         << marker << "\n";

    return platform::replaceFileAtomically(entry_, text.str(), 0644) == 0;
}

bool LoginItem::unregisterItem() {
    std::error_code error;
    if (!std::filesystem::exists(entry_, error)) return true;
    if (!entryIsOurs()) return true; // not ours to remove
    return std::filesystem::remove(entry_, error) && !error;
}

} // namespace zentaris
