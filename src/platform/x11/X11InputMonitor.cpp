#include "platform/x11/X11InputMonitor.h"

#include "platform/x11/X11Accessibility.h"
#include "platform/x11/X11Reply.h"

#include <xcb/xinput.h>

#include <vector>

namespace platform::x11 {

namespace {

constexpr std::uint32_t leftButton = 1, rightButton = 3;

constexpr std::uint64_t shiftFlag = 0x20000, controlFlag = 0x40000, optionFlag = 0x80000, commandFlag = 0x100000;

// Command is Super (Mod4), Option is Alt (Mod1).
std::uint64_t flagsOf(std::uint16_t state) {
    std::uint64_t flags = 0;
    if (state & XCB_MOD_MASK_SHIFT) flags |= shiftFlag;
    if (state & XCB_MOD_MASK_CONTROL) flags |= controlFlag;
    if (state & XCB_MOD_MASK_1) flags |= optionFlag;
    if (state & XCB_MOD_MASK_4) flags |= commandFlag;
    return flags;
}

constexpr InputEventMask pointerEvents =
    maskOf(InputEventType::leftMouseDown) | maskOf(InputEventType::leftMouseUp) | maskOf(InputEventType::rightMouseDown) |
    maskOf(InputEventType::rightMouseUp) | maskOf(InputEventType::leftMouseDragged) | maskOf(InputEventType::rightMouseDragged);
constexpr InputEventMask dragEvents = maskOf(InputEventType::leftMouseDragged) | maskOf(InputEventType::rightMouseDragged);

} // namespace

X11InputMonitor::X11InputMonitor(X11Connection& connection, X11Keymap& keymap, X11Monitors& monitors,
                                 X11Accessibility& windows, MainQueue& queue)
    : connection_(connection), keymap_(keymap), monitors_(monitors), windows_(windows), queue_(queue) {
    eventToken_ = connection.addEventListener([this](const xcb_generic_event_t& event) { handleEvent(event); });
}

X11InputMonitor::~X11InputMonitor() = default;

ObservationToken X11InputMonitor::addGlobalMonitor(InputEventMask mask, Handler handler) {
    const auto id = nextId_++;
    handlers_->emplace(id, Monitor{mask, std::move(handler)});
    updateSelection();
    return ObservationToken([this, weak = std::weak_ptr(handlers_), id] {
        auto alive = weak.lock();
        if (!alive) return;
        alive->erase(id);
        updateSelection();
    });
}

InputEventMask X11InputMonitor::wantedMask() const {
    InputEventMask mask = 0;
    for (const auto& [id, monitor] : *handlers_) mask |= monitor.mask;
    return mask;
}

void X11InputMonitor::updateSelection() {
    const InputEventMask wanted = wantedMask();
    std::uint32_t bits = 0;
    if (wanted & pointerEvents) bits |= XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;
    const bool dragging = buttonsHeld_.count(leftButton) || buttonsHeld_.count(rightButton);
    if ((wanted & dragEvents) && dragging) bits |= XCB_INPUT_XI_EVENT_MASK_RAW_MOTION;
    if (wanted & maskOf(InputEventType::keyDown)) bits |= XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS;
    if (bits == selectedBits_) return;
    selectedBits_ = bits;
    selection_ = bits ? connection_.rawInput().select(bits) : ObservationToken();
}

void X11InputMonitor::handleEvent(const xcb_generic_event_t& event) {
    const auto opcode = connection_.rawInput().opcode();
    if ((event.response_type & ~0x80) != XCB_GE_GENERIC || !opcode) return;
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension != *opcode) return;
    switch (generic.event_type) {
    case XCB_INPUT_RAW_BUTTON_PRESS:
    case XCB_INPUT_RAW_BUTTON_RELEASE: {
        const auto& raw = reinterpret_cast<const xcb_input_raw_button_press_event_t&>(event);
        handleButton(raw.detail, generic.event_type == XCB_INPUT_RAW_BUTTON_PRESS);
        break;
    }
    case XCB_INPUT_RAW_MOTION:
        if (buttonsHeld_.empty() || pendingMotion_.isActive()) break;
        pendingMotion_ = queue_.post([this] {
            auto running = std::move(pendingMotion_); // keeps this task alive until it returns
            flushMotion();
        });
        break;
    case XCB_INPUT_RAW_KEY_PRESS: {
        if (!(selectedBits_ & XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS)) break;
        const auto& raw = reinterpret_cast<const xcb_input_raw_key_press_event_t&>(event);
        if (raw.detail > 255) break;
        const auto keyCode = keymap_.virtualKeyForKeycode(static_cast<xcb_keycode_t>(raw.detail));
        if (!keyCode) break;
        if (auto pointer = queryPointer()) deliver(InputEventType::keyDown, *pointer, static_cast<std::uint16_t>(*keyCode));
        break;
    }
    default: break;
    }
}

void X11InputMonitor::handleButton(std::uint32_t button, bool press) {
    if (button != leftButton && button != rightButton) return; // the wheel and other buttons
    if (!(selectedBits_ & XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS)) return;
    if (press) {
        if (!buttonsHeld_.insert(button).second) return;
        // The screen layout does not change under a held button.
        rootSpace_ = monitors_.rootSpace();
    } else {
        if (!buttonsHeld_.erase(button)) return;
        // A drag reported before its release.
        if (pendingMotion_.isActive()) {
            pendingMotion_.cancel();
            flushMotion();
        }
    }
    updateSelection();
    const bool left = button == leftButton;
    const auto type = press ? (left ? InputEventType::leftMouseDown : InputEventType::rightMouseDown)
                            : (left ? InputEventType::leftMouseUp : InputEventType::rightMouseUp);
    // Only a right-button press, which may drag by a title bar, asks what it landed on: one request
    // more, none for a left press, a release or motion.
    if (auto pointer = queryPointer()) {
        deliver(type, *pointer, 0, press && !left && windows_.isPopupOrOwnWindow(pointer->topLevel));
    }
}

void X11InputMonitor::flushMotion() {
    if (buttonsHeld_.empty()) return;
    auto pointer = queryPointer();
    if (!pointer) return;
    deliver(buttonsHeld_.count(leftButton) ? InputEventType::leftMouseDragged : InputEventType::rightMouseDragged, *pointer);
}

std::optional<X11InputMonitor::Pointer> X11InputMonitor::queryPointer() const {
    if (!connection_.isConnected()) return std::nullopt;
    auto* xcb = connection_.xcb();
    auto reply = waitForReply(xcb, xcb_query_pointer_reply, xcb_query_pointer(xcb, connection_.root()));
    if (!reply) return std::nullopt;
    const RootSpace space = rootSpace_ ? *rootSpace_ : monitors_.rootSpace();
    return Pointer{space.toScreen(Point{double(reply->root_x), double(reply->root_y)}), flagsOf(reply->mask), reply->child};
}

void X11InputMonitor::deliver(InputEventType type, const Pointer& pointer, std::uint16_t keyCode,
                              bool onPopupOrOwnWindow) {
    const InputEvent event{type, pointer.location, pointer.flags, keyCode, onPopupOrOwnWindow};
    // Copies: a handler may add or drop monitors while it runs.
    std::vector<Handler> handlers;
    for (const auto& [id, monitor] : *handlers_) {
        if (monitor.mask & maskOf(type)) handlers.push_back(monitor.handler);
    }
    for (const auto& handler : handlers) handler(event);
}

std::uint64_t X11InputMonitor::modifierFlags() const {
    auto pointer = queryPointer();
    return pointer ? pointer->flags : 0;
}

bool X11InputMonitor::isKeyDown(std::uint16_t keyCode) const {
    const auto keycode = keymap_.keycodeForVirtualKey(keyCode);
    if (!keycode || !connection_.isConnected()) return false;
    auto* xcb = connection_.xcb();
    auto reply = waitForReply(xcb, xcb_query_keymap_reply, xcb_query_keymap(xcb));
    return reply && (reply->keys[*keycode / 8] & (1u << (*keycode % 8))) != 0;
}

void X11InputMonitor::beep() {
    if (!connection_.isConnected()) return;
    xcb_bell(connection_.xcb(), 0);
    connection_.flush();
}

} // namespace platform::x11
