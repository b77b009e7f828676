#pragma once

#include "platform/HotKeys.h"

#include <map>
#include <memory>
#include <set>
#include <utility>

namespace platform::fake {

// Hot keys in memory: records what is registered and lets a test press keys.
class FakeHotKeys : public HotKeys {
public:
    struct Registered {
        std::uint32_t keyCode;
        std::uint32_t modifiers;
        HotKeyID id;
    };

    Registration registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID id) override;
    OSStatus unregisterEventHotKey(HotKeyRef reference) override;
    std::optional<EventHandlerRef> installEventHandler(EventHandler handler) override;
    OSStatus addEventTypesToHandler(EventHandlerRef handler, const std::vector<HotKeyEventKind>& kinds) override;
    OSStatus removeEventTypesFromHandler(EventHandlerRef handler, const std::vector<HotKeyEventKind>& kinds) override;
    std::vector<SymbolicHotKey> copySymbolicHotKeys() override { return symbolicHotKeys_; }
    bool isHeldElsewhere(std::uint32_t keyCode, std::uint32_t modifiers) override;

    // Another program takes the combination: registering it fails with `status` until released.
    void holdElsewhere(std::uint32_t keyCode, std::uint32_t modifiers,
                       OSStatus status = hotKeyStatus::eventHotKeyExistsErr);
    void releaseElsewhere(std::uint32_t keyCode, std::uint32_t modifiers);
    void setSymbolicHotKeys(std::vector<SymbolicHotKey> hotKeys) { symbolicHotKeys_ = std::move(hotKeys); }
    void setInstallFails(bool fails) { installFails_ = fails; }
    ObservationToken observeKeyboardMapping(std::function<void()> onChange) override;
    // The keyboard mapping changes: the observers are told.
    void changeKeyboardMapping();

    // Presses or releases a combination the way the system would report it: as the hot key
    // registered for it when hot-key events are on, else as a raw key when raw events are on.
    // Answers the handler's status, or nothing when no event was delivered.
    std::optional<OSStatus> press(std::uint32_t keyCode, std::uint32_t modifiers);
    std::optional<OSStatus> release(std::uint32_t keyCode, std::uint32_t modifiers);
    // Delivers any event when its kind is on.
    std::optional<OSStatus> send(const HotKeyEvent& event);

    std::vector<Registered> registrations() const;
    bool isRegistered(std::uint32_t keyCode, std::uint32_t modifiers) const;
    bool isOn(HotKeyEventKind kind) const { return kinds_.count(kind) != 0; }
    bool handlerInstalled() const { return static_cast<bool>(handler_); }
    int registerCalls() const { return registerCalls_; }

private:
    std::optional<OSStatus> deliver(std::uint32_t keyCode, std::uint32_t modifiers, bool down);

    std::map<HotKeyRef, Registered> registered_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, OSStatus> heldElsewhere_;
    std::vector<SymbolicHotKey> symbolicHotKeys_;
    std::set<HotKeyEventKind> kinds_;
    EventHandler handler_;
    HotKeyRef nextReference_ = 1;
    bool installFails_ = false;
    int registerCalls_ = 0;
    // Shared with the tokens, which may outlive this object.
    std::shared_ptr<std::map<int, std::function<void()>>> mappingObservers_ =
        std::make_shared<std::map<int, std::function<void()>>>();
    int nextMappingObserver_ = 0;
};

} // namespace platform::fake
