#include "platform/x11/X11Workspace.h"

#include "platform/system/DefaultHandler.h"

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
