#pragma once

#include "platform/Desktop.h"
#include "platform/x11/X11Accessibility.h"
#include "platform/x11/X11ScreenProvider.h"
#include "platform/x11/X11Workspace.h"

#include <memory>

namespace platform::x11 {

// The whole X11 backend over one connection: windows, screens, pointer and applications.
class X11Desktop {
public:
    struct Options {
        const char* displayName = nullptr; // null = $DISPLAY
        ProcessId ownPid = 0;               // 0 = this process; its windows are never listed
        X11Workspace::UrlOpener openUrl;
        X11Workspace::UrlOpener openMailto;
    };

    // Nothing when no X server can be reached.
    static std::unique_ptr<X11Desktop> open(MainQueue& queue, Options options);
    static std::unique_ptr<X11Desktop> open(MainQueue& queue) { return open(queue, Options{}); }
    // Over a connection already made (`options.displayName` is not used).
    static std::unique_ptr<X11Desktop> over(std::unique_ptr<X11Connection> connection, MainQueue& queue, Options options);

    X11Connection& connection() { return *connection_; }
    X11Accessibility& accessibility() { return *accessibility_; }
    X11ScreenProvider& screens() { return *screens_; }
    X11Workspace& workspace() { return *workspace_; }
    X11WindowMover& mover() { return *mover_; }
    X11Monitors& monitors() { return *monitors_; }
    Desktop desktop(UserDefaults& defaults) { return {*accessibility_, *screens_, *workspace_, queue_, defaults}; }

private:
    X11Desktop(std::unique_ptr<X11Connection> connection, MainQueue& queue, Options options);

    std::unique_ptr<X11Connection> connection_;
    MainQueue& queue_;
    std::unique_ptr<X11Look> look_;
    std::unique_ptr<X11Clients> clients_;
    std::unique_ptr<X11Monitors> monitors_;
    std::unique_ptr<X11WindowMover> mover_;
    std::unique_ptr<X11Accessibility> accessibility_;
    std::unique_ptr<X11ScreenProvider> screens_;
    std::unique_ptr<X11Workspace> workspace_;
};

} // namespace platform::x11
