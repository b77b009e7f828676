#pragma once

#include "platform/HotKeys.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11RawInput.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace platform::x11 {

// Hot keys as passive key grabs on the root window. Command is Super (Mod4), Option is Alt (Mod1);
// the Function modifier has no X counterpart and cannot be registered. Each combination is grabbed
// with every mix of Caps Lock, Num Lock and Scroll Lock, all or nothing. While raw key events are
// turned on they are read from the XInput raw key stream, which arrives even while another client
// (an open menu) holds the keyboard; those events cannot be swallowed.
class X11HotKeys : public HotKeys {
public:
    X11HotKeys(X11Connection& connection, X11Keymap& keymap);
    ~X11HotKeys() override;

    Registration registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID id) override;
    OSStatus unregisterEventHotKey(HotKeyRef reference) override;
    std::optional<EventHandlerRef> installEventHandler(EventHandler handler) override;
    OSStatus addEventTypesToHandler(EventHandlerRef handler, const std::vector<HotKeyEventKind>& kinds) override;
    OSStatus removeEventTypesFromHandler(EventHandlerRef handler, const std::vector<HotKeyEventKind>& kinds) override;
    // X keeps no list of the desktop's shortcuts.
    std::vector<SymbolicHotKey> copySymbolicHotKeys() override { return {}; }
    // A trial grab: another client holding the combination makes it fail with BadAccess.
    bool isHeldElsewhere(std::uint32_t keyCode, std::uint32_t modifiers) override;
    // After this backend has grabbed its keys again at their new keycodes.
    ObservationToken observeKeyboardMapping(std::function<void()> onChange) override;

private:
    struct Grab {
        std::uint32_t keyCode;
        std::uint32_t modifiers;
        HotKeyID id;
        xcb_keycode_t keycode = 0;
        std::uint16_t mask = 0;
        bool grabbed = false;
    };
    struct Target {
        xcb_keycode_t keycode;
        std::uint16_t mask;
    };

    std::optional<Target> translate(std::uint32_t keyCode, std::uint32_t modifiers) const;
    std::vector<std::uint16_t> lockCombinations() const;
    OSStatus grab(const Target& target);
    void ungrab(const Target& target);
    void regrabAll();
    void handleEvent(const xcb_generic_event_t& event);
    void handleKey(const xcb_key_press_event_t& event, bool press);
    void handleRawKey(xcb_keycode_t keycode, bool press);
    void selectRawKeys(bool on);
    void deliver(const HotKeyEvent& event);

    X11Connection& connection_;
    X11Keymap& keymap_;
    std::map<HotKeyRef, Grab> grabs_;
    HotKeyRef nextReference_ = 1;
    EventHandler handler_;
    std::set<HotKeyEventKind> kinds_;
    // Keys pressed and not yet released, so a held chord fires once.
    std::set<HotKeyRef> held_;
    std::set<xcb_keycode_t> rawHeld_;
    std::optional<std::uint8_t> xinputOpcode_;
    bool rawSelected_ = false;
    ObservationToken rawSelection_;
    ObservationToken eventToken_;
    ObservationToken keymapToken_;
};

} // namespace platform::x11
