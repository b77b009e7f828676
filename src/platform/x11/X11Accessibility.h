#pragma once

#include "platform/Accessibility.h"
#include "platform/x11/X11Clients.h"
#include "platform/x11/X11Monitors.h"
#include "platform/x11/X11WindowMover.h"

#include <unordered_map>

namespace platform::x11 {

// The listable windows of one look, topmost first, and the same grouped by application.
struct WindowListing {
    std::unordered_map<ProcessId, std::vector<AXUIElement>> byApplication;
    std::vector<xcb_window_t> windows;
    bool framesFetched = false;
};

// The accessibility vocabulary on an EWMH desktop. Applications are processes, or X clients that
// name no process (see ClientInfo::pid); windows are their managed client windows, identified by
// their X window id. A window the window manager gives a title bar has one part, that bar (an
// "AXToolbar" across the top of the frame, as tall as the decoration above the client); the hit
// test answers windows, not parts.
class X11Accessibility : public Accessibility {
public:
    X11Accessibility(X11Clients& clients, X11WindowMover& mover);

    AXCopyResult copyAttributeValue(const AXUIElement& element, const std::string& attribute) override;
    AXError setAttributeValue(const AXUIElement& element, const std::string& attribute, const AXValue& value) override;
    AXError copyElementAtPosition(const AXUIElement& application, double x, double y, AXUIElement& element) override;
    AXError performAction(const AXUIElement& element, const std::string& action) override;
    AXError getPid(const AXUIElement& element, ProcessId& pid) const override;
    // X11 has no permission for this: any client may manage others' windows.
    bool isProcessTrusted(bool prompt) override;

    // The element of a client window.
    static AXUIElement windowElement(const ClientInfo& client);
    // The title bar of a window, whether or not it has one.
    static AXUIElement titleBarElement(const AXUIElement& window);
    // Listable windows of a process on the current desktop, topmost first.
    std::vector<AXUIElement> windowsOf(ProcessId pid);
    std::optional<AXUIElement> focusedWindow(std::optional<ProcessId> ofProcess);
    // Whether a root's child is a window that lies above the managed ones without the window
    // manager (override-redirect): a menu, tooltip or notification; or the frame of one of our own
    // process's windows. Some window managers make their frames override-redirect too; a frame that
    // holds another process's managed window is neither.
    bool isPopupOrOwnWindow(xcb_window_t topLevel);

private:
    // The listable windows of the look, grouped by application once: asking every application in
    // turn costs as much as one pass over the windows.
    WindowListing& listing();
    AXCopyResult copyApplicationAttribute(const AXUIElement& element, const std::string& attribute);
    AXCopyResult copyWindowAttribute(const AXUIElement& element, const std::string& attribute);
    AXCopyResult copyTitleBarAttribute(const AXUIElement& element, const std::string& attribute);
    // The title bar's frame in accessibility coordinates; none without a title bar (hasTitleBar).
    std::optional<Rect> titleBarFrame(xcb_window_t window);

    X11Clients& clients_;
    X11WindowMover& mover_;
    LookCache<std::optional<WindowListing>> listing_;
};

} // namespace platform::x11
