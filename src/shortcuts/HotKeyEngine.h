#pragma once

#include "platform/HotKeys.h"
#include "shortcuts/Shortcut.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace GlobalShortcuts {

// Registers shortcuts as system-wide hot keys and turns their events back into callbacks. While a
// menu is open the hot keys are taken down and the same combinations are caught from raw key events.
class HotKeyEngine {
public:
    using Callback = std::function<void(const Shortcut&)>;

    // The signature every hot key is registered under: 'QHKY'.
    static constexpr std::uint32_t signature = 0x51484B59;

    explicit HotKeyEngine(platform::HotKeys& hotKeys, std::ostream& diagnostics);

    // Registers the shortcut; on failure prints the "Error registering hotkey" line and keeps nothing.
    bool registerShortcut(const Shortcut& shortcut, Callback onKeyDown, Callback onKeyUp);
    // Takes down every record of the shortcut.
    void unregister(const Shortcut& shortcut);
    // Registers again, under their own ids, the records that are not registered with the system.
    void reregisterAll();
    // In hot-key mode, takes every record down and registers it again under its own id: after the
    // keyboard mapping changed, a key's registration may point at the wrong key or none.
    void registerAllAgain();
    // Moves to the mode the two switches call for: hot keys, menu (raw keys) or disabled.
    void updateEventHandler(bool isEnabled, bool isMenuOpen);

    // The system's own enabled shortcuts, normalised.
    std::vector<Shortcut> systemShortcuts();
    // Whether the system lists the shortcut or someone else holds it.
    bool isSystemShortcut(const Shortcut& shortcut);

    // The handler the backend calls.
    platform::OSStatus carbonEventHandler(const platform::HotKeyEvent& event);

    bool isRegisteredWithSystem(const Shortcut& shortcut) const;
    std::uint32_t lastHotKeyId() const { return hotKeyId_; }

private:
    struct HotKey {
        Shortcut shortcut;
        std::uint32_t carbonHotKeyId;
        std::optional<platform::HotKeyRef> carbonHotKey;
        Callback onKeyDown;
        Callback onKeyUp;
    };

    std::optional<platform::OSStatus> registerWithSystem(const Shortcut& shortcut, std::uint32_t id,
                                                         std::optional<platform::HotKeyRef>& reference);
    void printRegistrationError(const Shortcut& shortcut, platform::OSStatus status);
    void takeAllDown();
    platform::OSStatus handleHotKeyEvent(const platform::HotKeyEvent& event);
    platform::OSStatus handleRawKeyEvent(const platform::HotKeyEvent& event);

    platform::HotKeys& hotKeys_;
    std::ostream& diagnostics_;
    std::map<std::uint32_t, HotKey> records_;
    std::uint32_t hotKeyId_ = 0;
    std::optional<platform::EventHandlerRef> eventHandler_;
    bool isEnabled_ = true;
    bool isMenuOpen_ = false;
    // Lets a handler installed with the backend notice that this engine is gone.
    std::shared_ptr<HotKeyEngine*> self_ = std::make_shared<HotKeyEngine*>(this);
};

} // namespace GlobalShortcuts
