#pragma once

#include "platform/OwnWindowPlacement.h"
#include "platform/Workspace.h"
#include "platform/x11/X11Accessibility.h"
#include "platform/x11/X11Clients.h"

#include <functional>

namespace platform::x11 {

// Running applications are the applications that own managed windows (processes, or X clients
// that name none; see ClientInfo::pid); the frontmost is the application of the active window.
class X11Workspace : public Workspace, public OwnWindowPlacement {
public:
    using UrlOpener = std::function<bool(const std::string& url)>;

    // `openUrl` hands an address to the desktop; the default runs xdg-open. `openMailto` takes the
    // mailto: addresses and must say whether a mail program took it; the default starts the desktop's
    // default mail handler.
    X11Workspace(X11Clients& clients, X11WindowMover& mover, UrlOpener openUrl = {}, UrlOpener openMailto = {});

    std::optional<RunningApplication> frontmostApplication() const override;
    std::vector<RunningApplication> runningApplications() const override;
    bool activate(ProcessId pid) override;
    bool openURL(const std::string& url) override;
    void moveToCurrentWorkspace(std::uint64_t window) override;

    static bool openWithXdgOpen(const std::string& url);
    static bool openWithDefaultHandler(const std::string& url);

private:
    std::string nameOf(const ClientInfo& client) const;
    bool isOrdinaryWindow(const ClientInfo& window) const;
    ActivationPolicy policyOf(const std::vector<ClientInfo>& windows) const;

    X11Clients& clients_;
    X11WindowMover& mover_;
    UrlOpener openUrl_;
    UrlOpener openMailto_;
};

} // namespace platform::x11
