#include "shortcuts/HotKeyEngine.h"

#include <limits>

namespace GlobalShortcuts {

using platform::HotKeyEventKind;
using platform::OSStatus;
namespace status = platform::hotKeyStatus;

namespace {

const std::vector<HotKeyEventKind> hotKeyEventTypes{HotKeyEventKind::hotKeyPressed, HotKeyEventKind::hotKeyReleased};
const std::vector<HotKeyEventKind> rawKeyEventTypes{HotKeyEventKind::rawKeyDown, HotKeyEventKind::rawKeyUp};

bool fitsSystemRange(std::int64_t value) {
    return value >= 0 && value <= static_cast<std::int64_t>(std::numeric_limits<std::uint32_t>::max());
}

} // namespace

HotKeyEngine::HotKeyEngine(platform::HotKeys& hotKeys, std::ostream& diagnostics)
    : hotKeys_(hotKeys), diagnostics_(diagnostics) {}

std::optional<OSStatus> HotKeyEngine::registerWithSystem(const Shortcut& shortcut, std::uint32_t id,
                                                                  std::optional<platform::HotKeyRef>& reference) {
    // Only a hand-edited stored shortcut can hold values the system cannot take; such a
    // shortcut is refused like any other registration the system turns down.
    if (!fitsSystemRange(shortcut.carbonKeyCode) || !fitsSystemRange(shortcut.carbonModifiers) ||
        (shortcut.carbonModifiers & ~CarbonModifier::all) != 0) {
        return status::paramErr;
    }
    const auto registration =
        hotKeys_.registerEventHotKey(static_cast<std::uint32_t>(shortcut.carbonKeyCode),
                                     static_cast<std::uint32_t>(shortcut.carbonModifiers), {signature, id});
    if (registration.status != status::noErr || !registration.reference) {
        return registration.status != status::noErr ? registration.status : status::eventInternalErr;
    }
    reference = registration.reference;
    return std::nullopt;
}

void HotKeyEngine::printRegistrationError(const Shortcut& shortcut, OSStatus status) {
    diagnostics_ << "Error registering hotkey " << shortcut.description() << ": " << status << '\n';
    diagnostics_.flush();
}

bool HotKeyEngine::registerShortcut(const Shortcut& shortcut, Callback onKeyDown, Callback onKeyUp) {
    const auto id = ++hotKeyId_;
    std::optional<platform::HotKeyRef> reference;
    if (auto failure = registerWithSystem(shortcut, id, reference)) {
        printRegistrationError(shortcut, *failure);
        return false;
    }
    records_[id] = HotKey{shortcut, id, reference, std::move(onKeyDown), std::move(onKeyUp)};
    if (!eventHandler_) {
        std::weak_ptr<HotKeyEngine*> weak = self_;
        eventHandler_ = hotKeys_.installEventHandler([weak](const platform::HotKeyEvent& event) -> OSStatus {
            auto self = weak.lock();
            return self ? (*self)->carbonEventHandler(event) : status::eventNotHandledErr;
        });
        if (eventHandler_) updateEventHandler(isEnabled_, isMenuOpen_);
    } else if (!isEnabled_ || isMenuOpen_) {
        // Outside hot-key mode a new key waits, like the others, for the next return to it.
        hotKeys_.unregisterEventHotKey(*reference);
        records_[id].carbonHotKey.reset();
    }
    return true;
}

void HotKeyEngine::unregister(const Shortcut& shortcut) {
    for (auto it = records_.begin(); it != records_.end();) {
        if (it->second.shortcut == shortcut) {
            if (it->second.carbonHotKey) hotKeys_.unregisterEventHotKey(*it->second.carbonHotKey);
            it = records_.erase(it);
        } else {
            ++it;
        }
    }
}

void HotKeyEngine::reregisterAll() {
    for (auto& [id, hotKey] : records_) {
        if (hotKey.carbonHotKey) continue;
        if (auto failure = registerWithSystem(hotKey.shortcut, id, hotKey.carbonHotKey)) {
            // The record stays so the key is tried again on the next return to hot-key mode
            // instead of being lost for good.
            printRegistrationError(hotKey.shortcut, *failure);
        }
    }
}

void HotKeyEngine::registerAllAgain() {
    if (!eventHandler_ || !isEnabled_ || isMenuOpen_) return;
    takeAllDown();
    reregisterAll();
}

void HotKeyEngine::takeAllDown() {
    for (auto& [id, hotKey] : records_) {
        if (hotKey.carbonHotKey) hotKeys_.unregisterEventHotKey(*hotKey.carbonHotKey);
        hotKey.carbonHotKey.reset();
    }
}

void HotKeyEngine::updateEventHandler(bool isEnabled, bool isMenuOpen) {
    isEnabled_ = isEnabled;
    isMenuOpen_ = isMenuOpen;
    if (!eventHandler_) return;
    if (isEnabled && !isMenuOpen) {
        reregisterAll();
        hotKeys_.removeEventTypesFromHandler(*eventHandler_, rawKeyEventTypes);
        hotKeys_.addEventTypesToHandler(*eventHandler_, hotKeyEventTypes);
    } else if (isEnabled) {
        takeAllDown();
        hotKeys_.removeEventTypesFromHandler(*eventHandler_, hotKeyEventTypes);
        hotKeys_.addEventTypesToHandler(*eventHandler_, rawKeyEventTypes);
    } else {
        takeAllDown();
        hotKeys_.removeEventTypesFromHandler(*eventHandler_, hotKeyEventTypes);
        hotKeys_.removeEventTypesFromHandler(*eventHandler_, rawKeyEventTypes);
    }
}

std::vector<Shortcut> HotKeyEngine::systemShortcuts() {
    std::vector<Shortcut> shortcuts;
    for (const auto& symbolic : hotKeys_.copySymbolicHotKeys()) {
        if (symbolic.enabled) shortcuts.push_back(Shortcut::initCarbon(symbolic.keyCode, symbolic.modifiers));
    }
    return shortcuts;
}

bool HotKeyEngine::isSystemShortcut(const Shortcut& shortcut) {
    for (const auto& listed : systemShortcuts()) {
        if (listed == shortcut) return true;
    }
    // Our own registration of it is no conflict.
    if (isRegisteredWithSystem(shortcut)) return false;
    if (!fitsSystemRange(shortcut.carbonKeyCode) || !fitsSystemRange(shortcut.carbonModifiers)) return false;
    return hotKeys_.isHeldElsewhere(static_cast<std::uint32_t>(shortcut.carbonKeyCode),
                                    static_cast<std::uint32_t>(shortcut.carbonModifiers));
}

bool HotKeyEngine::isRegisteredWithSystem(const Shortcut& shortcut) const {
    for (const auto& [id, hotKey] : records_) {
        if (hotKey.shortcut == shortcut && hotKey.carbonHotKey) return true;
    }
    return false;
}

OSStatus HotKeyEngine::carbonEventHandler(const platform::HotKeyEvent& event) {
    switch (event.kind) {
    case HotKeyEventKind::hotKeyPressed:
    case HotKeyEventKind::hotKeyReleased: return handleHotKeyEvent(event);
    case HotKeyEventKind::rawKeyDown:
    case HotKeyEventKind::rawKeyUp: return handleRawKeyEvent(event);
    }
    return status::eventNotHandledErr;
}

OSStatus HotKeyEngine::handleHotKeyEvent(const platform::HotKeyEvent& event) {
    if (!event.hotKeyID) return status::eventParameterNotFoundErr;
    if (event.hotKeyID->signature != signature) return status::eventNotHandledErr;
    auto record = records_.find(event.hotKeyID->id);
    if (record == records_.end()) return status::eventNotHandledErr;
    // Copies, so a callback may take its own key down.
    const auto shortcut = record->second.shortcut;
    auto callback = event.kind == HotKeyEventKind::hotKeyPressed ? record->second.onKeyDown : record->second.onKeyUp;
    if (callback) callback(shortcut);
    return status::noErr;
}

OSStatus HotKeyEngine::handleRawKeyEvent(const platform::HotKeyEvent& event) {
    if (!event.keyCode || !event.modifiers) return status::eventParameterNotFoundErr;
    const auto pressed = Shortcut::initCarbon(*event.keyCode, *event.modifiers);
    for (const auto& [id, hotKey] : records_) {
        if (hotKey.shortcut != pressed) continue;
        const auto shortcut = hotKey.shortcut;
        auto callback = event.kind == HotKeyEventKind::rawKeyDown ? hotKey.onKeyDown : hotKey.onKeyUp;
        if (callback) callback(shortcut);
        return status::noErr;
    }
    return status::eventNotHandledErr;
}

} // namespace GlobalShortcuts
