#include "platform/x11/X11Workspace.h"

#include "platform/system/DefaultHandler.h"
#include "platform/x11/X11Properties.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace platform::x11 {

X11Workspace::X11Workspace(X11Clients& clients, X11WindowMover& mover, UrlOpener openUrl, UrlOpener openMailto)
    : clients_(clients),
      mover_(mover),
      openUrl_(openUrl ? std::move(openUrl) : UrlOpener(openWithXdgOpen)),
      openMailto_(openMailto ? std::move(openMailto) : UrlOpener(openWithDefaultHandler)) {}

std::string X11Workspace::nameOf(const ClientInfo& client) const {
    if (client.className && !client.className->empty()) return *client.className;
    if (client.pid <= 0) return {};
    std::ifstream comm("/proc/" + std::to_string(client.pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

bool X11Workspace::isOrdinaryWindow(const ClientInfo& window) const {
    return clients_.kindOf(window) == ClientKind::standard &&
           !clients_.hasState(window, clients_.connection().ewmh()->_NET_WM_STATE_SKIP_TASKBAR);
}

ActivationPolicy X11Workspace::policyOf(const std::vector<ClientInfo>& windows) const {
    // Regular: the application has an ordinary window that it shows in the taskbar.
    for (const auto& window : windows) {
        if (isOrdinaryWindow(window)) return ActivationPolicy::regular;
    }
    return ActivationPolicy::accessory;
}

std::optional<RunningApplication> X11Workspace::frontmostApplication() const {
    auto active = clients_.activeClient();
    if (!active) return std::nullopt;
    // The active window alone usually decides; the application's other windows only when it does not.
    if (isOrdinaryWindow(*active)) return RunningApplication{active->pid, ActivationPolicy::regular, nameOf(*active)};
    std::vector<ClientInfo> windows;
    for (auto& client : clients_.read(clients_.clientList())) {
        if (client.pid == active->pid) windows.push_back(std::move(client));
    }
    return RunningApplication{active->pid, policyOf(windows), nameOf(*active)};
}

std::vector<RunningApplication> X11Workspace::runningApplications() const {
    std::vector<ProcessId> order;
    std::map<ProcessId, std::vector<ClientInfo>> windowsByPid;
    for (auto& client : clients_.read(clients_.clientList())) {
        auto& windows = windowsByPid[client.pid];
        if (windows.empty()) order.push_back(client.pid);
        windows.push_back(std::move(client));
    }
    std::vector<RunningApplication> applications;
    for (auto pid : order) {
        const auto& windows = windowsByPid[pid];
        applications.push_back({pid, policyOf(windows), nameOf(windows.front())});
    }
    return applications;
}

bool X11Workspace::activate(ProcessId pid) {
    const auto desktop = clients_.currentDesktop();
    for (const auto& client : clients_.read(clients_.stackingTopmostFirst())) {
        if (client.pid == pid && clients_.isOnDesktop(client, desktop)) {
            mover_.activate(client.window);
            return true;
        }
    }
    return false;
}

void X11Workspace::moveToCurrentWorkspace(std::uint64_t id) {
    constexpr std::uint32_t everyWorkspace = 0xFFFFFFFF;
    constexpr std::uint32_t withdrawnState = 0;
    constexpr std::uint32_t sourceApplication = 1;
    auto& connection = clients_.connection();
    auto* ewmh = connection.ewmh();
    const auto window = static_cast<xcb_window_t>(id);
    // Read afresh, in one round trip: the user may have switched workspaces since the last look.
    PendingProperty currentProperty(connection, connection.root(), ewmh->_NET_CURRENT_DESKTOP, XCB_ATOM_CARDINAL, 1);
    PendingProperty countProperty(connection, connection.root(), ewmh->_NET_NUMBER_OF_DESKTOPS, XCB_ATOM_CARDINAL, 1);
    PendingProperty onProperty(connection, window, ewmh->_NET_WM_DESKTOP, XCB_ATOM_CARDINAL, 1);
    PendingProperty stateProperty(connection, window, connection.atom("WM_STATE"), XCB_ATOM_ANY, 1);
    const auto first = [](PendingProperty& property) -> std::optional<std::uint32_t> {
        auto values = property.values32();
        if (!values || values->empty()) return std::nullopt;
        return values->front();
    };
    const auto current = first(currentProperty);
    const auto count = first(countProperty);
    const auto on = first(onProperty);
    const auto state = first(stateProperty);
    // A hidden window is mapped onto the workspace in view; one without a workspace is on it.
    if (!state || *state == withdrawnState) return;
    if (!current || (count && *current >= *count) || !on || *on == *current || *on == everyWorkspace) return;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = ewmh->_NET_WM_DESKTOP;
    message.data.data32[0] = *current;
    message.data.data32[1] = sourceApplication;
    xcb_send_event(connection.xcb(), 0, connection.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    // The window is then shown and activated over another connection: the window manager must see this first.
    connection.sync();
}

bool X11Workspace::openURL(const std::string& url) {
    // The general opener only learns that xdg-open started; a message must count as handed over
    // only when a mail program took it, or it is lost without a word.
    constexpr std::string_view mailto = "mailto:";
    const auto sameLetter = [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); };
    const bool isMail = url.size() >= mailto.size() && std::equal(mailto.begin(), mailto.end(), url.begin(), sameLetter);
    return isMail ? openMailto_(url) : openUrl_(url);
}

bool X11Workspace::openWithDefaultHandler(const std::string& url) {
    return launchDefaultHandler(url) == HandlerLaunch::started;
}

bool X11Workspace::openWithXdgOpen(const std::string& url) {
    // No shell: the address is one argument whatever it holds.
    std::string program = "xdg-open";
    std::string argument = url;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
    // Some handlers keep xdg-open running as long as the browser: reap it without waiting here.
    std::thread([child] { ::waitpid(child, nullptr, 0); }).detach();
    return true;
}

} // namespace platform::x11
