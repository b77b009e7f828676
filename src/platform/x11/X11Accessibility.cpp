#include "platform/x11/X11Accessibility.h"

#include "platform/x11/StackingOrder.h"
#include "platform/x11/X11Reply.h"

#include <algorithm>

namespace platform::x11 {

namespace {
AXCopyResult found(AXValue value) { return {AXError::success, std::move(value)}; }
AXCopyResult missing(AXError error = AXError::noValue) { return {error, std::nullopt}; }
} // namespace

X11Accessibility::X11Accessibility(X11Clients& clients, X11WindowMover& mover)
    : clients_(clients), mover_(mover), listing_(clients.look()) {}

AXUIElement X11Accessibility::windowElement(const ClientInfo& client) {
    return {AXUIElement::Kind::window, client.pid, client.window};
}

AXUIElement X11Accessibility::titleBarElement(const AXUIElement& window) {
    return {AXUIElement::Kind::part, window.pid, window.id};
}

WindowListing& X11Accessibility::listing() {
    auto& kept = listing_.get();
    if (kept) return *kept;
    kept.emplace();
    const auto desktop = clients_.currentDesktop();
    for (const auto& client : clients_.read(clients_.stackingTopmostFirst())) {
        if (!clients_.isListable(client, desktop)) continue;
        kept->windows.push_back(client.window);
        kept->byApplication[client.pid].push_back(windowElement(client));
    }
    return *kept;
}

std::vector<AXUIElement> X11Accessibility::windowsOf(ProcessId pid) {
    if (pid == clients_.ownPid()) return {};
    auto& listed = listing();
    const auto windows = listed.byApplication.find(pid);
    if (windows == listed.byApplication.end()) return {};
    // Whoever lists windows reads their frames next, usually those of every application in turn.
    if (!listed.framesFetched) {
        mover_.prefetchFrames(listed.windows);
        listed.framesFetched = true;
    }
    return windows->second;
}

std::optional<AXUIElement> X11Accessibility::focusedWindow(std::optional<ProcessId> ofProcess) {
    auto active = clients_.activeClient();
    if (!active || active->pid == clients_.ownPid()) return std::nullopt;
    if (ofProcess && active->pid != *ofProcess) return std::nullopt;
    return windowElement(*active);
}

bool X11Accessibility::isPopupOrOwnWindow(xcb_window_t topLevel) {
    if (topLevel == XCB_WINDOW_NONE || !clients_.connection().isConnected()) return false;
    auto* c = clients_.connection().xcb();
    // Answered together with the first of the reads below.
    const auto attributesCookie = xcb_get_window_attributes(c, topLevel);
    // The same reads, in the same order, as the hit test's that follows a press.
    const auto windows = clients_.stackingTopmostFirst();
    const auto clients = clients_.read(windows);
    mover_.prefetchFrames(windows);
    auto attributes = waitForReply(c, xcb_get_window_attributes_reply, attributesCookie);
    if (!attributes) return false;
    const auto held = std::find_if(clients.begin(), clients.end(), [&](const ClientInfo& client) {
        return mover_.topLevel(client.window) == topLevel;
    });
    if (held == clients.end()) return attributes->override_redirect;
    return held->pid == clients_.ownPid();
}

AXCopyResult X11Accessibility::copyAttributeValue(const AXUIElement& element, const std::string& attribute) {
    if (!clients_.connection().isConnected()) return missing(AXError::cannotComplete);
    switch (element.kind) {
    case AXUIElement::Kind::systemWide:
        if (attribute == "AXFocusedApplication") {
            auto window = focusedWindow(std::nullopt);
            if (!window) return missing();
            return found(createApplication(window->pid));
        }
        if (attribute == "AXFocusedWindow") {
            auto window = focusedWindow(std::nullopt);
            return window ? found(*window) : missing();
        }
        return missing(AXError::attributeUnsupported);
    case AXUIElement::Kind::application:
        return copyApplicationAttribute(element, attribute);
    case AXUIElement::Kind::window:
        return copyWindowAttribute(element, attribute);
    case AXUIElement::Kind::part:
        return copyTitleBarAttribute(element, attribute);
    default:
        return missing(AXError::invalidUIElement);
    }
}

AXCopyResult X11Accessibility::copyApplicationAttribute(const AXUIElement& element, const std::string& attribute) {
    if (attribute == "AXFocusedWindow") {
        auto window = focusedWindow(element.pid);
        return window ? found(*window) : missing();
    }
    if (attribute == "AXWindows") return found(windowsOf(element.pid));
    if (attribute == "AXRole") return found(std::string("AXApplication"));
    return missing(AXError::attributeUnsupported);
}

AXCopyResult X11Accessibility::copyWindowAttribute(const AXUIElement& element, const std::string& attribute) {
    const auto window = static_cast<xcb_window_t>(element.id);
    if (attribute == "AXPosition" || attribute == "AXSize") {
        auto frame = mover_.frame(window);
        if (!frame) return missing(AXError::invalidUIElement);
        if (attribute == "AXPosition") return found(frame->origin);
        return found(frame->size);
    }
    // X11 has no hidden state of a whole application apart from minimising, which has its own
    // attribute: a window is never hidden.
    if (attribute == "AXHidden") return found(false);
    if (attribute == "AXParent") return found(createApplication(element.pid));
    if (attribute == "AXChildren") {
        if (!mover_.frame(window)) return missing(AXError::invalidUIElement);
        std::vector<AXUIElement> parts;
        if (titleBarFrame(window)) parts.push_back(titleBarElement(element));
        return found(std::move(parts));
    }
    if (attribute == "AXTitle") {
        auto title = clients_.title(window);
        return title ? found(*title) : missing();
    }
    auto client = clients_.read(window);
    if (!client) return missing(AXError::invalidUIElement);
    if (attribute == "AXRole") return found(std::string("AXWindow"));
    if (attribute == "AXSubrole") {
        switch (clients_.kindOf(*client)) {
        case ClientKind::standard: return found(std::string("AXStandardWindow"));
        case ClientKind::dialog: return found(std::string("AXDialog"));
        case ClientKind::floating: return found(std::string("AXFloatingWindow"));
        case ClientKind::notification: return found(std::string("AXSystemDialog"));
        default: return found(std::string("AXUnknown"));
        }
    }
    if (attribute == "AXMinimized") return found(clients_.isMinimised(*client));
    if (attribute == "AXMain" || attribute == "AXFocused") {
        auto active = clients_.activeClient();
        return found(active && active->window == window);
    }
    return missing(AXError::attributeUnsupported);
}

std::optional<Rect> X11Accessibility::titleBarFrame(xcb_window_t window) {
    auto frame = mover_.frame(window);
    auto decoration = mover_.decoration(window);
    // A window drawn without the manager's decorations (client-side, or none, or only a border) has
    // no title bar of its own.
    if (!frame || !decoration || !hasTitleBar(*decoration)) return std::nullopt;
    return Rect(frame->origin, Size{frame->width(), std::min(decoration->top, frame->height())});
}

AXCopyResult X11Accessibility::copyTitleBarAttribute(const AXUIElement& element, const std::string& attribute) {
    const auto window = static_cast<xcb_window_t>(element.id);
    auto frame = titleBarFrame(window);
    if (!frame) return missing(AXError::invalidUIElement);
    if (attribute == "AXRole") return found(std::string("AXToolbar"));
    if (attribute == "AXParent") return found(AXUIElement{AXUIElement::Kind::window, element.pid, element.id});
    if (attribute == "AXPosition") return found(frame->origin);
    if (attribute == "AXSize") return found(frame->size);
    return missing(AXError::attributeUnsupported);
}

AXError X11Accessibility::setAttributeValue(const AXUIElement& element, const std::string& attribute, const AXValue& value) {
    if (element.kind != AXUIElement::Kind::window) return AXError::illegalArgument;
    if (!clients_.connection().isConnected()) return AXError::cannotComplete;
    const auto window = static_cast<xcb_window_t>(element.id);
    if (attribute == "AXPosition") {
        auto* point = std::get_if<Point>(&value);
        return point ? mover_.setPosition(window, *point) : AXError::illegalArgument;
    }
    if (attribute == "AXSize") {
        auto* size = std::get_if<Size>(&value);
        return size ? mover_.setSize(window, *size) : AXError::illegalArgument;
    }
    // No X11 counterpart (see copyWindowAttribute): accepted, and nothing changes.
    if (attribute == "AXHidden") return std::holds_alternative<bool>(value) ? AXError::success : AXError::illegalArgument;
    if (attribute == "AXMain" || attribute == "AXFocused") {
        auto* on = std::get_if<bool>(&value);
        if (!on) return AXError::illegalArgument;
        if (!clients_.read(window)) return AXError::invalidUIElement;
        if (*on) mover_.activate(window);
        return AXError::success;
    }
    return AXError::attributeUnsupported;
}

AXError X11Accessibility::copyElementAtPosition(const AXUIElement& application, double x, double y, AXUIElement& element) {
    if (!clients_.connection().isConnected()) return AXError::cannotComplete;
    const Point point{x, y};
    const auto desktop = clients_.currentDesktop();
    auto* c = clients_.connection().xcb();
    const auto clients = clients_.read(clients_.stackingTopmostFirst());
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    for (const auto& client : clients) attributes.push_back(xcb_get_window_attributes(c, client.window));
    std::vector<xcb_window_t> windows;
    for (const auto& client : clients) windows.push_back(client.window);
    mover_.prefetchFrames(windows);
    // The window the user sees at the point is the topmost as the server stacks the frames.
    std::vector<std::optional<xcb_window_t>> topLevels;
    for (auto window : windows) topLevels.push_back(mover_.topLevel(window));
    const auto order = serverStackingTopmostFirst(topLevels, clients_.rootChildrenBottomToTop());
    std::vector<std::optional<AXUIElement>> hits(clients.size());
    for (std::size_t i = 0; i < clients.size(); ++i) {
        auto reply = waitForReply(c, xcb_get_window_attributes_reply, attributes[i]);
        if (!reply || reply->map_state != XCB_MAP_STATE_VIEWABLE) continue;
        const auto& client = clients[i];
        if (!clients_.isListable(client, desktop) || clients_.isMinimised(client)) continue;
        if (application.kind == AXUIElement::Kind::application && client.pid != application.pid) continue;
        auto frame = mover_.frame(client.window);
        if (frame && frame->containsPoint(point)) hits[i] = windowElement(client);
    }
    for (auto i : order) {
        if (!hits[i]) continue;
        element = *hits[i];
        return AXError::success;
    }
    return AXError::noValue;
}

AXError X11Accessibility::performAction(const AXUIElement& element, const std::string& action) {
    if (element.kind != AXUIElement::Kind::window) return AXError::actionUnsupported;
    if (action != "AXRaise") return AXError::actionUnsupported;
    if (!clients_.read(static_cast<xcb_window_t>(element.id))) return AXError::invalidUIElement;
    mover_.activate(static_cast<xcb_window_t>(element.id));
    return AXError::success;
}

AXError X11Accessibility::getPid(const AXUIElement& element, ProcessId& pid) const {
    if (element.kind != AXUIElement::Kind::application && element.kind != AXUIElement::Kind::window &&
        element.kind != AXUIElement::Kind::part)
        return AXError::illegalArgument;
    pid = element.pid;
    return AXError::success;
}

bool X11Accessibility::isProcessTrusted(bool) { return true; }

} // namespace platform::x11
