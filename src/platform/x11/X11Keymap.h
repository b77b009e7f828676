#pragma once

#include "platform/ObservationToken.h"
#include "platform/x11/X11Connection.h"

#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::x11 {

// The keyboard as the X server maps it now: which X keycode sits at each position, what the keys
// show, and which modifier bits the lock keys use. Reloads itself when the mapping changes.
class X11Keymap {
public:
    explicit X11Keymap(X11Connection& connection);
    ~X11Keymap();
    X11Keymap(const X11Keymap&) = delete;
    X11Keymap& operator=(const X11Keymap&) = delete;

    bool isLoaded() const { return keymap_ != nullptr; }
    std::optional<xcb_keycode_t> keycodeForVirtualKey(std::uint32_t keyCode) const;
    std::optional<std::uint32_t> virtualKeyForKeycode(xcb_keycode_t keycode) const;
    // The level-one text of the key in the first layout whose letter keys type ASCII.
    std::optional<std::string> displayText(std::uint32_t keyCode) const;
    // The modifier bits of Num Lock and Scroll Lock (0 when not mapped).
    std::uint16_t numLockMask() const { return numLockMask_; }
    std::uint16_t scrollLockMask() const { return scrollLockMask_; }
    // The modifier bits a key sets while held (0 for ordinary keys).
    std::uint16_t modifierMaskOfKeycode(xcb_keycode_t keycode) const;

    // Called after every reload caused by a mapping change.
    [[nodiscard]] ObservationToken onChange(std::function<void()> listener);

private:
    void reload();
    void handleEvent(const xcb_generic_event_t& event);
    void loadModifierMapping();
    std::uint16_t modifierMaskOf(xkb_keysym_t keysym) const;
    std::optional<xkb_layout_index_t> asciiCapableLayout() const;

    X11Connection& connection_;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    std::int32_t deviceId_ = -1;
    std::uint8_t xkbFirstEvent_ = 0;
    std::map<std::uint32_t, xcb_keycode_t> keycodes_;
    std::map<xcb_keycode_t, std::uint32_t> virtualKeys_;
    std::optional<xkb_layout_index_t> asciiLayout_;
    std::map<xcb_keycode_t, std::uint16_t> modifierMasks_;
    std::uint16_t numLockMask_ = 0;
    std::uint16_t scrollLockMask_ = 0;
    ObservationToken eventToken_;
    std::shared_ptr<std::map<std::uint64_t, std::function<void()>>> listeners_ =
        std::make_shared<std::map<std::uint64_t, std::function<void()>>>();
    std::uint64_t nextListenerId_ = 1;
};

} // namespace platform::x11
