#include "platform/x11/X11Keymap.h"

#include "platform/x11/X11KeyPositions.h"
#include "platform/x11/X11Reply.h"

#include "platform/x11/X11Xkb.h"
#include <xkbcommon/xkbcommon-x11.h>

#include <array>

namespace platform::x11 {

namespace {

constexpr std::uint8_t coreMappingNotify = XCB_MAPPING_NOTIFY;

// The letter keys: a layout whose letters all type ASCII is an ASCII-capable one.
constexpr std::array<const char*, 26> letterKeys{"AD01", "AD02", "AD03", "AD04", "AD05", "AD06", "AD07",
                                                 "AD08", "AD09", "AD10", "AC01", "AC02", "AC03", "AC04",
                                                 "AC05", "AC06", "AC07", "AC08", "AC09", "AB01", "AB02",
                                                 "AB03", "AB04", "AB05", "AB06", "AB07"};

xkb_keysym_t levelZeroKeysym(xkb_keymap* keymap, xkb_keycode_t keycode, xkb_layout_index_t layout) {
    const auto layouts = xkb_keymap_num_layouts_for_key(keymap, keycode);
    if (layouts == 0) return XKB_KEY_NoSymbol;
    const xkb_keysym_t* syms = nullptr;
    const int count = xkb_keymap_key_get_syms_by_level(keymap, keycode, layout % layouts, 0, &syms);
    return count > 0 ? syms[0] : XKB_KEY_NoSymbol;
}

} // namespace

X11Keymap::X11Keymap(X11Connection& connection) : connection_(connection) {
    std::uint8_t firstError = 0;
    if (!xkb_x11_setup_xkb_extension(connection.xcb(), XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &xkbFirstEvent_,
                                     &firstError)) {
        return;
    }
    context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    deviceId_ = xkb_x11_get_core_keyboard_device_id(connection.xcb());
    if (!context_ || deviceId_ < 0) return;

    const std::uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
    const std::uint16_t mapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                                   XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                                   XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                                   XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    xcb_xkb_select_events_aux(connection.xcb(), static_cast<xcb_xkb_device_spec_t>(deviceId_), events, 0, events,
                              mapParts, mapParts, &details);
    eventToken_ = connection.addEventListener([this](const xcb_generic_event_t& event) { handleEvent(event); });
    reload();
}

X11Keymap::~X11Keymap() {
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

void X11Keymap::handleEvent(const xcb_generic_event_t& event) {
    const auto type = static_cast<std::uint8_t>(event.response_type & ~0x80);
    bool changed = type == coreMappingNotify;
    if (xkbFirstEvent_ != 0 && type == xkbFirstEvent_) {
        // The XKB event kind sits in the second byte of every XKB event.
        const auto xkbType = reinterpret_cast<const std::uint8_t*>(&event)[1];
        changed = xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY;
    }
    if (!changed) return;
    reload();
    const auto listeners = *listeners_;
    for (const auto& [id, listener] : listeners) listener();
}

void X11Keymap::reload() {
    if (!context_) return;
    auto* keymap = xkb_x11_keymap_new_from_device(context_, connection_.xcb(), deviceId_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap) return; // keep the last good one
    xkb_keymap_unref(keymap_);
    keymap_ = keymap;

    keycodes_.clear();
    virtualKeys_.clear();
    forEachKnownPosition([this](std::uint32_t keyCode, std::string_view keyName) {
        const auto keycode = xkb_keymap_key_by_name(keymap_, std::string(keyName).c_str());
        // Core requests carry 8-bit keycodes, and keycode 0 would mean "any key".
        if (keycode == XKB_KEYCODE_INVALID || keycode == 0 || keycode > 255) return;
        keycodes_[keyCode] = static_cast<xcb_keycode_t>(keycode);
        virtualKeys_.emplace(static_cast<xcb_keycode_t>(keycode), keyCode);
    });
    asciiLayout_ = asciiCapableLayout();
    loadModifierMapping();
    numLockMask_ = modifierMaskOf(XKB_KEY_Num_Lock);
    scrollLockMask_ = modifierMaskOf(XKB_KEY_Scroll_Lock);
}

std::optional<xkb_layout_index_t> X11Keymap::asciiCapableLayout() const {
    const auto layouts = xkb_keymap_num_layouts(keymap_);
    for (xkb_layout_index_t layout = 0; layout < layouts; ++layout) {
        bool ascii = true;
        for (const auto* name : letterKeys) {
            const auto keycode = xkb_keymap_key_by_name(keymap_, name);
            const auto scalar = keycode == XKB_KEYCODE_INVALID ? 0 : xkb_keysym_to_utf32(levelZeroKeysym(keymap_, keycode, layout));
            if (scalar == 0 || scalar >= 0x80) {
                ascii = false;
                break;
            }
        }
        if (ascii) return layout;
    }
    return std::nullopt;
}

void X11Keymap::loadModifierMapping() {
    modifierMasks_.clear();
    auto reply = waitForReply(connection_.xcb(), xcb_get_modifier_mapping_reply,
                              xcb_get_modifier_mapping(connection_.xcb()));
    if (!reply) return;
    const auto* keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const auto keycode = keycodes[modifier * perModifier + i];
            if (keycode != 0) modifierMasks_[keycode] |= static_cast<std::uint16_t>(1u << modifier);
        }
    }
}

std::uint16_t X11Keymap::modifierMaskOf(xkb_keysym_t keysym) const {
    std::uint16_t mask = 0;
    for (const auto& [keycode, bits] : modifierMasks_) {
        if (levelZeroKeysym(keymap_, keycode, 0) == keysym) mask |= bits;
    }
    return mask;
}

std::uint16_t X11Keymap::modifierMaskOfKeycode(xcb_keycode_t keycode) const {
    auto it = modifierMasks_.find(keycode);
    return it == modifierMasks_.end() ? 0 : it->second;
}

std::optional<xcb_keycode_t> X11Keymap::keycodeForVirtualKey(std::uint32_t keyCode) const {
    auto it = keycodes_.find(keyCode);
    if (it == keycodes_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::uint32_t> X11Keymap::virtualKeyForKeycode(xcb_keycode_t keycode) const {
    auto it = virtualKeys_.find(keycode);
    if (it == virtualKeys_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> X11Keymap::displayText(std::uint32_t keyCode) const {
    const auto keycode = keycodeForVirtualKey(keyCode);
    if (!keycode || !asciiLayout_) return std::nullopt;
    const auto keysym = levelZeroKeysym(keymap_, *keycode, *asciiLayout_);
    std::array<char, 16> text{};
    if (keysym == XKB_KEY_NoSymbol || xkb_keysym_to_utf8(keysym, text.data(), text.size()) <= 1) return std::nullopt;
    return std::string(text.data());
}

ObservationToken X11Keymap::onChange(std::function<void()> listener) {
    const auto id = nextListenerId_++;
    listeners_->emplace(id, std::move(listener));
    std::weak_ptr<std::map<std::uint64_t, std::function<void()>>> weak = listeners_;
    return ObservationToken([weak, id] {
        if (auto listeners = weak.lock()) listeners->erase(id);
    });
}

} // namespace platform::x11
