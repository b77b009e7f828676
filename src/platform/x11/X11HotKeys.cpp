#include "platform/x11/X11HotKeys.h"

#include "platform/x11/X11Reply.h"

#include <xcb/xinput.h>
#include "platform/x11/X11Xkb.h"

namespace platform::x11 {

namespace status = hotKeyStatus;

namespace {

constexpr EventHandlerRef theHandler = 1;
constexpr std::uint8_t badAccess = 10;

constexpr std::uint32_t carbonCommand = 0x100;
constexpr std::uint32_t carbonShift = 0x200;
constexpr std::uint32_t carbonOption = 0x800;
constexpr std::uint32_t carbonControl = 0x1000;

struct ModifierPair {
    std::uint32_t carbon;
    std::uint16_t x;
};
constexpr ModifierPair modifierPairs[] = {
    {carbonCommand, XCB_MOD_MASK_4},
    {carbonShift, XCB_MOD_MASK_SHIFT},
    {carbonOption, XCB_MOD_MASK_1},
    {carbonControl, XCB_MOD_MASK_CONTROL},
};

std::uint32_t carbonModifiersOf(std::uint16_t state) {
    std::uint32_t carbon = 0;
    for (const auto& pair : modifierPairs) {
        if (state & pair.x) carbon |= pair.carbon;
    }
    return carbon;
}

bool isRaw(HotKeyEventKind kind) { return kind == HotKeyEventKind::rawKeyDown || kind == HotKeyEventKind::rawKeyUp; }

} // namespace

X11HotKeys::X11HotKeys(X11Connection& connection, X11Keymap& keymap) : connection_(connection), keymap_(keymap) {
    auto* xcb = connection.xcb();
    // A held chord then repeats as presses only, which tells repeats from real presses.
    const std::uint32_t repeatFlag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    std::free(xcb_xkb_per_client_flags_reply(
        xcb, xcb_xkb_per_client_flags(xcb, XCB_XKB_ID_USE_CORE_KBD, repeatFlag, repeatFlag, 0, 0, 0), nullptr));

    xinputOpcode_ = connection.rawInput().opcode();
    eventToken_ = connection.addEventListener([this](const xcb_generic_event_t& event) { handleEvent(event); });
    keymapToken_ = keymap.onChange([this] { regrabAll(); });
}

X11HotKeys::~X11HotKeys() {
    for (const auto& [reference, grab] : grabs_) {
        if (grab.grabbed) ungrab({grab.keycode, grab.mask});
    }
    if (rawSelected_) selectRawKeys(false);
    connection_.flush();
}

std::optional<X11HotKeys::Target> X11HotKeys::translate(std::uint32_t keyCode, std::uint32_t modifiers) const {
    std::uint32_t known = 0;
    std::uint16_t mask = 0;
    for (const auto& pair : modifierPairs) {
        known |= pair.carbon;
        if (modifiers & pair.carbon) mask |= pair.x;
    }
    // Function, and any bit we do not know, has no X modifier: refusing beats grabbing the bare key.
    if (modifiers & ~known) return std::nullopt;
    const auto keycode = keymap_.keycodeForVirtualKey(keyCode);
    if (!keycode || *keycode == 0) return std::nullopt;
    return Target{*keycode, mask};
}

std::vector<std::uint16_t> X11HotKeys::lockCombinations() const {
    std::vector<std::uint16_t> locks{XCB_MOD_MASK_LOCK};
    for (auto mask : {keymap_.numLockMask(), keymap_.scrollLockMask()}) {
        if (mask != 0 && mask != XCB_MOD_MASK_LOCK) locks.push_back(mask);
    }
    std::set<std::uint16_t> combinations;
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
        std::uint16_t combination = 0;
        for (std::size_t i = 0; i < locks.size(); ++i) {
            if (subset & (1u << i)) combination |= locks[i];
        }
        combinations.insert(combination);
    }
    return {combinations.begin(), combinations.end()};
}

OSStatus X11HotKeys::grab(const Target& target) {
    auto* xcb = connection_.xcb();
    std::vector<std::pair<std::uint16_t, xcb_void_cookie_t>> cookies;
    for (auto locks : lockCombinations()) {
        const auto mask = static_cast<std::uint16_t>(target.mask | locks);
        cookies.emplace_back(mask, xcb_grab_key_checked(xcb, 1, connection_.root(), mask, target.keycode,
                                                        XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    std::vector<std::uint16_t> taken;
    OSStatus result = status::noErr;
    for (const auto& [mask, cookie] : cookies) {
        XcbPointer<xcb_generic_error_t> error(xcb_request_check(xcb, cookie));
        if (!error) {
            taken.push_back(mask);
        } else if (result == status::noErr) {
            result = error->error_code == badAccess ? status::eventHotKeyExistsErr : status::eventInternalErr;
        }
    }
    if (result != status::noErr) {
        for (auto mask : taken) xcb_ungrab_key(xcb, target.keycode, connection_.root(), mask);
        connection_.flush();
    }
    return result;
}

void X11HotKeys::ungrab(const Target& target) {
    for (auto locks : lockCombinations()) {
        xcb_ungrab_key(connection_.xcb(), target.keycode, connection_.root(), static_cast<std::uint16_t>(target.mask | locks));
    }
    connection_.flush();
}

HotKeys::Registration X11HotKeys::registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID id) {
    const auto target = translate(keyCode, modifiers);
    if (!target) return {status::paramErr, {}};
    for (const auto& [reference, grab] : grabs_) {
        if (grab.keyCode == keyCode && grab.modifiers == modifiers) return {status::eventHotKeyExistsErr, {}};
    }
    if (const auto result = grab(*target); result != status::noErr) return {result, {}};
    const auto reference = nextReference_++;
    grabs_[reference] = Grab{keyCode, modifiers, id, target->keycode, target->mask, true};
    return {status::noErr, reference};
}

OSStatus X11HotKeys::unregisterEventHotKey(HotKeyRef reference) {
    auto it = grabs_.find(reference);
    if (it == grabs_.end()) return status::paramErr;
    if (it->second.grabbed) ungrab({it->second.keycode, it->second.mask});
    grabs_.erase(it);
    held_.erase(reference);
    return status::noErr;
}

void X11HotKeys::regrabAll() {
    // The keycodes and the lock bits may all have moved: drop every grab of ours on the old keys.
    for (const auto& [reference, grab] : grabs_) {
        if (grab.grabbed) xcb_ungrab_key(connection_.xcb(), grab.keycode, connection_.root(), XCB_MOD_MASK_ANY);
    }
    held_.clear();
    for (auto& [reference, grab] : grabs_) {
        const auto target = translate(grab.keyCode, grab.modifiers);
        grab.grabbed = target && this->grab(*target) == status::noErr;
        if (target) {
            grab.keycode = target->keycode;
            grab.mask = target->mask;
        }
    }
    connection_.flush();
}

std::optional<EventHandlerRef> X11HotKeys::installEventHandler(EventHandler handler) {
    handler_ = std::move(handler);
    kinds_.clear();
    if (rawSelected_) selectRawKeys(false);
    return theHandler;
}

OSStatus X11HotKeys::addEventTypesToHandler(EventHandlerRef handler, const std::vector<HotKeyEventKind>& kinds) {
    if (handler != theHandler || !handler_) return status::paramErr;
    kinds_.insert(kinds.begin(), kinds.end());
    if (!rawSelected_ && (kinds_.count(HotKeyEventKind::rawKeyDown) || kinds_.count(HotKeyEventKind::rawKeyUp))) {
        selectRawKeys(true);
    }
    return status::noErr;
}

OSStatus X11HotKeys::removeEventTypesFromHandler(EventHandlerRef handler, const std::vector<HotKeyEventKind>& kinds) {
    if (handler != theHandler || !handler_) return status::paramErr;
    for (auto kind : kinds) kinds_.erase(kind);
    if (rawSelected_ && !kinds_.count(HotKeyEventKind::rawKeyDown) && !kinds_.count(HotKeyEventKind::rawKeyUp)) {
        selectRawKeys(false);
    }
    return status::noErr;
}

bool X11HotKeys::isHeldElsewhere(std::uint32_t keyCode, std::uint32_t modifiers) {
    const auto target = translate(keyCode, modifiers);
    if (!target) return false;
    for (const auto& [reference, grab] : grabs_) {
        if (grab.grabbed && grab.keycode == target->keycode && grab.mask == target->mask) return false;
    }
    const auto result = grab(*target);
    if (result == status::noErr) ungrab(*target);
    return result == status::eventHotKeyExistsErr;
}

ObservationToken X11HotKeys::observeKeyboardMapping(std::function<void()> onChange) {
    // Listeners run in the order they were added; ours, added at construction, regrabs first.
    return keymap_.onChange(std::move(onChange));
}

void X11HotKeys::selectRawKeys(bool on) {
    if (!xinputOpcode_) return;
    // Other parts of the program may want raw events too: only our own bits come and go.
    if (on) {
        rawSelection_ = connection_.rawInput().select(XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS |
                                                     XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE);
    } else {
        rawSelection_.cancel();
    }
    rawSelected_ = on;
    rawHeld_.clear();
}

void X11HotKeys::handleEvent(const xcb_generic_event_t& event) {
    const auto type = event.response_type & ~0x80;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        handleKey(reinterpret_cast<const xcb_key_press_event_t&>(event), type == XCB_KEY_PRESS);
    } else if (type == XCB_GE_GENERIC && xinputOpcode_ && rawSelected_) {
        const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
        if (generic.extension != *xinputOpcode_) return;
        if (generic.event_type != XCB_INPUT_RAW_KEY_PRESS && generic.event_type != XCB_INPUT_RAW_KEY_RELEASE) return;
        const auto& raw = reinterpret_cast<const xcb_input_raw_key_press_event_t&>(event);
        if (raw.detail > 255) return;
        handleRawKey(static_cast<xcb_keycode_t>(raw.detail), generic.event_type == XCB_INPUT_RAW_KEY_PRESS);
    }
}

void X11HotKeys::handleKey(const xcb_key_press_event_t& event, bool press) {
    if (event.event != connection_.root()) return;
    if (!press) {
        for (auto reference : held_) {
            const auto& grab = grabs_.at(reference);
            if (grab.keycode != event.detail) continue;
            const auto id = grab.id;
            held_.erase(reference);
            if (kinds_.count(HotKeyEventKind::hotKeyReleased)) deliver({HotKeyEventKind::hotKeyReleased, id, {}, {}});
            return;
        }
        return;
    }
    std::uint16_t ignored = XCB_MOD_MASK_LOCK | keymap_.numLockMask() | keymap_.scrollLockMask();
    const auto state = static_cast<std::uint16_t>(event.state & 0xFF & ~ignored);
    for (const auto& [reference, grab] : grabs_) {
        if (!grab.grabbed || grab.keycode != event.detail || grab.mask != state) continue;
        // A repeat of a chord still held.
        if (!held_.insert(reference).second) return;
        if (kinds_.count(HotKeyEventKind::hotKeyPressed)) deliver({HotKeyEventKind::hotKeyPressed, grab.id, {}, {}});
        return;
    }
}

void X11HotKeys::handleRawKey(xcb_keycode_t keycode, bool press) {
    const auto kind = press ? HotKeyEventKind::rawKeyDown : HotKeyEventKind::rawKeyUp;
    if (press ? !rawHeld_.insert(keycode).second : rawHeld_.erase(keycode) == 0) return;
    if (!kinds_.count(kind)) return;
    const auto keyCode = keymap_.virtualKeyForKeycode(keycode);
    if (!keyCode) return;
    // Raw events carry no modifier state: the modifier keys held among the raw presses give it.
    std::uint16_t state = 0;
    for (auto held : rawHeld_) state |= keymap_.modifierMaskOfKeycode(held);
    deliver({kind, {}, *keyCode, carbonModifiersOf(state)});
}

void X11HotKeys::deliver(const HotKeyEvent& event) {
    // A copy: the handler may install another one or unregister keys while it runs.
    auto handler = handler_;
    if (handler && (isRaw(event.kind) || kinds_.count(event.kind))) handler(event);
}

} // namespace platform::x11
