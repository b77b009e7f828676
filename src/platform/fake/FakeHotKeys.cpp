#include "platform/fake/FakeHotKeys.h"

namespace platform::fake {

namespace {
constexpr EventHandlerRef theHandler = 1;
}

HotKeys::Registration FakeHotKeys::registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID id) {
    ++registerCalls_;
    if (auto held = heldElsewhere_.find({keyCode, modifiers}); held != heldElsewhere_.end()) return {held->second, {}};
    if (isRegistered(keyCode, modifiers)) return {hotKeyStatus::eventHotKeyExistsErr, {}};
    const auto reference = nextReference_++;
    registered_[reference] = Registered{keyCode, modifiers, id};
    return {hotKeyStatus::noErr, reference};
}

OSStatus FakeHotKeys::unregisterEventHotKey(HotKeyRef reference) {
    return registered_.erase(reference) ? hotKeyStatus::noErr : hotKeyStatus::paramErr;
}

std::optional<EventHandlerRef> FakeHotKeys::installEventHandler(EventHandler handler) {
    if (installFails_) return std::nullopt;
    handler_ = std::move(handler);
    kinds_.clear();
    return theHandler;
}

OSStatus FakeHotKeys::addEventTypesToHandler(EventHandlerRef handler, const std::vector<HotKeyEventKind>& kinds) {
    if (handler != theHandler || !handler_) return hotKeyStatus::paramErr;
    kinds_.insert(kinds.begin(), kinds.end());
    return hotKeyStatus::noErr;
}

OSStatus FakeHotKeys::removeEventTypesFromHandler(EventHandlerRef handler, const std::vector<HotKeyEventKind>& kinds) {
    if (handler != theHandler || !handler_) return hotKeyStatus::paramErr;
    for (auto kind : kinds) kinds_.erase(kind);
    return hotKeyStatus::noErr;
}

bool FakeHotKeys::isHeldElsewhere(std::uint32_t keyCode, std::uint32_t modifiers) {
    return heldElsewhere_.count({keyCode, modifiers}) != 0;
}

ObservationToken FakeHotKeys::observeKeyboardMapping(std::function<void()> onChange) {
    const int id = nextMappingObserver_++;
    (*mappingObservers_)[id] = std::move(onChange);
    std::weak_ptr<std::map<int, std::function<void()>>> observers = mappingObservers_;
    return ObservationToken([observers, id] {
        if (auto alive = observers.lock()) alive->erase(id);
    });
}

void FakeHotKeys::changeKeyboardMapping() {
    const auto observers = *mappingObservers_;
    for (const auto& [id, onChange] : observers) onChange();
}

void FakeHotKeys::holdElsewhere(std::uint32_t keyCode, std::uint32_t modifiers, OSStatus status) {
    heldElsewhere_[{keyCode, modifiers}] = status;
}

void FakeHotKeys::releaseElsewhere(std::uint32_t keyCode, std::uint32_t modifiers) {
    heldElsewhere_.erase({keyCode, modifiers});
}

std::optional<OSStatus> FakeHotKeys::press(std::uint32_t keyCode, std::uint32_t modifiers) {
    return deliver(keyCode, modifiers, true);
}

std::optional<OSStatus> FakeHotKeys::release(std::uint32_t keyCode, std::uint32_t modifiers) {
    return deliver(keyCode, modifiers, false);
}

std::optional<OSStatus> FakeHotKeys::deliver(std::uint32_t keyCode, std::uint32_t modifiers, bool down) {
    const auto hotKeyKind = down ? HotKeyEventKind::hotKeyPressed : HotKeyEventKind::hotKeyReleased;
    if (isOn(hotKeyKind)) {
        for (const auto& [reference, registered] : registered_) {
            if (registered.keyCode == keyCode && registered.modifiers == modifiers) {
                return send(HotKeyEvent{hotKeyKind, registered.id, {}, {}});
            }
        }
    }
    return send(HotKeyEvent{down ? HotKeyEventKind::rawKeyDown : HotKeyEventKind::rawKeyUp, {}, keyCode, modifiers});
}

std::optional<OSStatus> FakeHotKeys::send(const HotKeyEvent& event) {
    if (!handler_ || !isOn(event.kind)) return std::nullopt;
    return handler_(event);
}

std::vector<FakeHotKeys::Registered> FakeHotKeys::registrations() const {
    std::vector<Registered> result;
    for (const auto& [reference, registered] : registered_) result.push_back(registered);
    return result;
}

bool FakeHotKeys::isRegistered(std::uint32_t keyCode, std::uint32_t modifiers) const {
    for (const auto& [reference, registered] : registered_) {
        if (registered.keyCode == keyCode && registered.modifiers == modifiers) return true;
    }
    return false;
}

} // namespace platform::fake
