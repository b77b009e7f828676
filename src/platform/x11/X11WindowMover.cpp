#include "platform/x11/X11WindowMover.h"

#include "platform/x11/GeometryLimits.h"
#include "platform/x11/SizeHints.h"
#include "platform/x11/X11Properties.h"
#include "platform/x11/X11Reply.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace platform::x11 {

namespace {

constexpr std::uint32_t sourcePager = 2;
constexpr std::uint32_t gravityNorthWest = 1;
constexpr std::uint32_t stateRemove = 0;
constexpr auto stateChangeTimeout = std::chrono::milliseconds(300);
constexpr auto extentsChangeTimeout = std::chrono::milliseconds(100);

// Whole pixels, rounding the edges so that neighbouring slots stay neighbours.
Rect roundedToPixels(const Rect& r) {
    const double x0 = std::round(r.minX()), y0 = std::round(r.minY());
    return {x0, y0, std::round(r.maxX()) - x0, std::round(r.maxY()) - y0};
}

} // namespace

X11WindowMover::X11WindowMover(X11Connection& connection, X11Clients& clients, X11Monitors& monitors)
    : connection_(connection), clients_(clients), monitors_(monitors), knownFrames_(clients.look()),
      frameWatch_(connection, clients, [this](xcb_window_t window) { lastingFrames_.erase(window); }),
      frameReader_(connection) {
    connection_.setBeforeFlush([this] { sendHeldMove(); });
}

X11WindowMover::~X11WindowMover() {
    sendHeldMove();
    connection_.setBeforeFlush(nullptr);
}

void X11WindowMover::sendHeldMove() {
    if (!held_) return;
    const HeldMove move = *held_;
    held_.reset();
    request(move.window, move.current, move.target, move.space);
}

Rect X11WindowMover::ClientFrame::outer() const {
    return {client.minX() - decoration.left + shadow.left, client.minY() - decoration.top + shadow.top,
            client.width() + decoration.left + decoration.right - shadow.left - shadow.right,
            client.height() + decoration.top + decoration.bottom - shadow.top - shadow.bottom};
}

void X11WindowMover::fetchFrames(const std::vector<xcb_window_t>& windows, KnownFrames& into) {
    // Watched before they are read, so that any change after the reading is heard of.
    const auto ancestry = frameWatch_.watch(windows);
    const auto readings = frameReader_.read(windows, ancestry, monitors_.rootSpace().primary.size);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        auto& frame = into[windows[i]];
        frame.reset();
        if (const auto& r = readings[i]) frame = ClientFrame{r->client, r->border, r->decoration, r->shadow};
        if (frame && ancestry[i].heard) lastingFrames_[windows[i]] = *frame;
        else lastingFrames_.erase(windows[i]);
    }
}

void X11WindowMover::prefetchFrames(const std::vector<xcb_window_t>& windows) {
    auto& known = knownFrames_.get();
    // Whether made-up extents are refused depends on the primary monitor's size.
    if (const Rect primary = monitors_.rootSpace().primary; primary != lastingPrimary_) {
        lastingFrames_.clear();
        lastingPrimary_ = primary;
    }
    std::vector<xcb_window_t> missing;
    for (auto window : windows) {
        if (known.count(window)) continue;
        if (auto lasting = lastingFrames_.find(window); lasting != lastingFrames_.end()) known.emplace(window, lasting->second);
        else missing.push_back(window);
    }
    if (!missing.empty()) fetchFrames(missing, known);
}

void X11WindowMover::forgetFrame(xcb_window_t window) {
    knownFrames_.get().erase(window);
    lastingFrames_.erase(window);
}

std::optional<X11WindowMover::ClientFrame> X11WindowMover::readFrame(xcb_window_t window) {
    prefetchFrames({window});
    return knownFrames_.get()[window];
}

std::optional<X11WindowMover::ClientFrame> X11WindowMover::readFrameAfresh(xcb_window_t window) {
    auto& known = knownFrames_.get();
    fetchFrames({window}, known);
    return known[window];
}

std::optional<Rect> X11WindowMover::inAccessibilitySpace(const std::optional<ClientFrame>& current) {
    if (!current) return std::nullopt;
    const auto space = monitors_.rootSpace();
    return Rect(space.toAccessibility(current->outer().origin), current->outer().size);
}

std::optional<Rect> X11WindowMover::appliedFrame(xcb_window_t window) { return inAccessibilitySpace(readFrameAfresh(window)); }

std::optional<FrameExtents> X11WindowMover::decoration(xcb_window_t window) {
    auto current = readFrame(window);
    if (!current) return std::nullopt;
    return current->decoration;
}

std::optional<Rect> X11WindowMover::frame(xcb_window_t window) {
    auto applied = inAccessibilitySpace(readFrame(window));
    if (!applied) {
        pending_.erase(window);
        return std::nullopt;
    }
    const Rect real = *applied;
    if (auto found = pending_.find(window); found != pending_.end()) {
        // The window manager applies a request later: until its answer is in, the frame asked for
        // is the truth the caller expects to read back.
        if (std::chrono::steady_clock::now() < found->second.until && real != found->second.target) return found->second.target;
        pending_.erase(found);
    }
    return real;
}

void X11WindowMover::sendToRoot(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1, std::uint32_t d2,
                                std::uint32_t d3, std::uint32_t d4) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    message.data.data32[0] = d0;
    message.data.data32[1] = d1;
    message.data.data32[2] = d2;
    message.data.data32[3] = d3;
    message.data.data32[4] = d4;
    xcb_send_event(connection_.xcb(), 0, connection_.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
}

bool X11WindowMover::leaveMaximisedState(xcb_window_t window) {
    auto* ewmh = connection_.ewmh();
    auto client = clients_.read(window);
    if (!client) return false;
    const bool maximised = clients_.hasState(*client, ewmh->_NET_WM_STATE_MAXIMIZED_VERT) ||
                           clients_.hasState(*client, ewmh->_NET_WM_STATE_MAXIMIZED_HORZ);
    const bool fullscreen = clients_.hasState(*client, ewmh->_NET_WM_STATE_FULLSCREEN);
    if (!maximised && !fullscreen) return true;
    const auto decorationBefore = readFrame(window);
    // Window managers ignore moves of maximised windows.
    if (maximised)
        sendToRoot(window, ewmh->_NET_WM_STATE, stateRemove, ewmh->_NET_WM_STATE_MAXIMIZED_VERT,
                   ewmh->_NET_WM_STATE_MAXIMIZED_HORZ, sourcePager);
    if (fullscreen) sendToRoot(window, ewmh->_NET_WM_STATE, stateRemove, ewmh->_NET_WM_STATE_FULLSCREEN, 0, sourcePager);
    connection_.flush();
    // The decorations change with the state: wait (bounded) until the window manager has done it.
    const auto deadline = std::chrono::steady_clock::now() + stateChangeTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        client = clients_.readAfresh(window);
        if (!client) return false;
        if (!clients_.hasState(*client, ewmh->_NET_WM_STATE_MAXIMIZED_VERT) &&
            !clients_.hasState(*client, ewmh->_NET_WM_STATE_MAXIMIZED_HORZ) &&
            !clients_.hasState(*client, ewmh->_NET_WM_STATE_FULLSCREEN))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The new decorations may be announced a moment after the state; a size computed with the old
    // ones would come out too big or too small. Wait (briefly) for them to change.
    const auto extentsDeadline = std::chrono::steady_clock::now() + extentsChangeTimeout;
    while (decorationBefore && std::chrono::steady_clock::now() < extentsDeadline) {
        auto now = readFrameAfresh(window);
        if (!now) return false;
        const auto& a = now->decoration;
        const auto& b = decorationBefore->decoration;
        if (a.left != b.left || a.right != b.right || a.top != b.top || a.bottom != b.bottom) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The frame may still change as the window manager finishes: read it again when it is needed.
    forgetFrame(window);
    pending_.erase(window);
    return true;
}

AXError X11WindowMover::request(xcb_window_t window, const ClientFrame& current, const Rect& target, const RootSpace& space) {
    const Point root = space.fromAccessibility(target.origin);
    const auto values = clientRequestFor(Rect(root, target.size), current.decoration, current.shadow, current.border);
    if (!values) return AXError::illegalArgument;
    auto* ewmh = connection_.ewmh();
    if (clients_.supported(ewmh->_NET_MOVERESIZE_WINDOW)) {
        const std::uint32_t flags = gravityNorthWest | (0xFu << 8) | (sourcePager << 12);
        sendToRoot(window, ewmh->_NET_MOVERESIZE_WINDOW, flags, static_cast<std::uint32_t>(std::int32_t{values->x}),
                   static_cast<std::uint32_t>(std::int32_t{values->y}), values->width, values->height);
    } else {
        const std::uint32_t list[] = {static_cast<std::uint32_t>(std::int32_t{values->x}),
                                      static_cast<std::uint32_t>(std::int32_t{values->y}), values->width, values->height};
        auto cookie = xcb_configure_window_checked(connection_.xcb(), window,
                                                   XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                                       XCB_CONFIG_WINDOW_HEIGHT,
                                                   list);
        xcb_discard_reply(connection_.xcb(), cookie.sequence);
    }
    connection_.flush();
    forgetFrame(window);
    pending_[window] = {target, std::chrono::steady_clock::now() + pendingLifetime};
    return AXError::success;
}

AXError X11WindowMover::setPosition(xcb_window_t window, Point position) {
    if (!leaveMaximisedState(window)) return AXError::invalidUIElement;
    auto base = frame(window);
    auto current = readFrame(window);
    if (!base || !current) return AXError::invalidUIElement;
    sendHeldMove();
    const Rect target = roundedToPixels(Rect(position, base->size));
    held_ = HeldMove{window, *current, target, monitors_.rootSpace()};
    // Reads see the new place at once, as they would after a sent request.
    pending_[window] = {target, std::chrono::steady_clock::now() + pendingLifetime};
    return AXError::success;
}

AXError X11WindowMover::setSize(xcb_window_t window, Size size) {
    // Leaving the maximised state sends a held position on, and a late window manager may still put
    // the window back where it was: the size goes where the held position puts it.
    std::optional<Point> heldOrigin;
    if (held_ && held_->window == window) heldOrigin = held_->target.origin;
    if (!leaveMaximisedState(window)) return AXError::invalidUIElement;
    auto base = frame(window);
    auto current = readFrame(window);
    if (!base || !current) return AXError::invalidUIElement;
    PendingProperty rawHints(connection_, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 18);
    const auto hintValues = rawHints.values32();
    // What this command read of the window may be older than its owner closing it: a server that
    // refuses the hints has no window left to move.
    if (rawHints.refused()) {
        if (held_ && held_->window == window) held_.reset();
        forgetFrame(window);
        pending_.erase(window);
        return AXError::invalidUIElement;
    }

    const auto space = monitors_.rootSpace();
    const Rect slot = roundedToPixels(Rect(heldOrigin.value_or(base->origin), size));
    Rect target = slot;
    if (const auto& values = hintValues) {
        // The monitor of the slot: hints beyond it are made up, and the window stays in its usable area.
        Rect usable = slot;
        Size monitorSize = space.primary.size;
        const Point centre{slot.midX() + space.primary.minX(), slot.midY() + space.primary.minY()};
        for (const auto& monitor : monitors_.read()) {
            if (monitor.bounds.containsPoint(centre)) {
                usable = Rect(space.toAccessibility(monitor.usable.origin), monitor.usable.size);
                monitorSize = monitor.bounds.size;
                break;
            }
        }
        const auto hints = checkSizeHints(sizeHintsFromValues(*values), monitorSize);
        if (!hints.refused.empty()) reportRefusedProperty(window, "WM_NORMAL_HINTS", hints.refused);
        // Hints speak of the client window alone.
        const double extraWidth = current->outer().width() - (current->client.width() - 2 * current->border);
        const double extraHeight = current->outer().height() - (current->client.height() - 2 * current->border);
        const Size wanted{slot.width() - extraWidth, slot.height() - extraHeight};
        const Size fitted = fitClientSize(hints.hints, wanted);
        if (fitted != wanted) target = alignInSlot(slot, {fitted.width + extraWidth, fitted.height + extraHeight}, usable);
    }
    // The size completes a held position of this window: one request carries both.
    if (held_ && held_->window == window) {
        held_.reset();
    } else {
        sendHeldMove();
    }
    return request(window, *current, target, space);
}

void X11WindowMover::activate(xcb_window_t window) {
    auto* ewmh = connection_.ewmh();
    sendToRoot(window, ewmh->_NET_ACTIVE_WINDOW, sourcePager, XCB_CURRENT_TIME, XCB_WINDOW_NONE);
    if (clients_.supported(ewmh->_NET_RESTACK_WINDOW)) {
        sendToRoot(window, ewmh->_NET_RESTACK_WINDOW, sourcePager, XCB_WINDOW_NONE, XCB_STACK_MODE_ABOVE);
    } else {
        const std::uint32_t above = XCB_STACK_MODE_ABOVE;
        auto cookie = xcb_configure_window_checked(connection_.xcb(), window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_discard_reply(connection_.xcb(), cookie.sequence);
    }
    connection_.flush();
    // The active window and the stacking order are about to change.
    clients_.look().end();
}

} // namespace platform::x11
