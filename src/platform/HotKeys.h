#pragma once

#include "platform/ObservationToken.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace platform {

// Status codes of the hot-key calls; 0 is success.
using OSStatus = std::int32_t;
namespace hotKeyStatus {
inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus paramErr = -50;
inline constexpr OSStatus eventInternalErr = -9868;
inline constexpr OSStatus eventParameterNotFoundErr = -9870;
inline constexpr OSStatus eventNotHandledErr = -9874;
inline constexpr OSStatus eventHotKeyExistsErr = -9878;
} // namespace hotKeyStatus

// The identity a hot key is registered under and reported back with.
struct HotKeyID {
    std::uint32_t signature = 0;
    std::uint32_t id = 0;
    bool operator==(const HotKeyID&) const = default;
};

// The backend's handle of one registered hot key.
using HotKeyRef = std::uint64_t;
using EventHandlerRef = std::uint64_t;

enum class HotKeyEventKind : std::uint32_t {
    rawKeyDown = 1,
    rawKeyUp = 3,
    hotKeyPressed = 5,
    hotKeyReleased = 6,
};

// One keyboard event for the handler. Hot-key kinds carry the id; raw kinds the key code and the
// modifier bits held. A parameter the backend could not read is absent.
struct HotKeyEvent {
    HotKeyEventKind kind = HotKeyEventKind::hotKeyPressed;
    std::optional<HotKeyID> hotKeyID;
    std::optional<std::uint32_t> keyCode;
    std::optional<std::uint32_t> modifiers;
};

// A shortcut the system itself uses.
struct SymbolicHotKey {
    bool enabled = false;
    std::int64_t keyCode = 0;
    std::int64_t modifiers = 0;
};

// System-wide hot keys. Key codes are virtual key codes and modifiers the Carbon bits
// (command 0x100, shift 0x200, option 0x800, control 0x1000, function 0x20000).
// Events reach the one installed handler on the main thread, only for the kinds turned on.
class HotKeys {
public:
    struct Registration {
        OSStatus status = hotKeyStatus::noErr;
        std::optional<HotKeyRef> reference;
    };
    // Answers noErr when it consumed the event; eventNotHandledErr lets it go on.
    using EventHandler = std::function<OSStatus(const HotKeyEvent&)>;

    virtual ~HotKeys() = default;

    virtual Registration registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID id) = 0;
    virtual OSStatus unregisterEventHotKey(HotKeyRef reference) = 0;
    // Installs the handler with no event kinds turned on.
    virtual std::optional<EventHandlerRef> installEventHandler(EventHandler handler) = 0;
    virtual OSStatus addEventTypesToHandler(EventHandlerRef handler, const std::vector<HotKeyEventKind>& kinds) = 0;
    virtual OSStatus removeEventTypesFromHandler(EventHandlerRef handler,
                                                 const std::vector<HotKeyEventKind>& kinds) = 0;

    // The shortcuts the system lists as its own (possibly none on systems that keep no list).
    virtual std::vector<SymbolicHotKey> copySymbolicHotKeys() = 0;
    // Whether someone else already holds the combination; systems without a list answer this by trying.
    virtual bool isHeldElsewhere(std::uint32_t keyCode, std::uint32_t modifiers) = 0;
    // Calls `onChange` after the keyboard mapping changed, until the token is dropped; systems
    // whose registrations follow the mapping by themselves never call it.
    [[nodiscard]] virtual ObservationToken observeKeyboardMapping(std::function<void()> onChange) {
        (void)onChange;
        return {};
    }

    // The process-wide backend. Must be installed before first use.
    static HotKeys& shared() {
        if (!sharedSlot()) throw std::logic_error("HotKeys::shared() used before a backend was installed");
        return *sharedSlot();
    }
    static void installShared(HotKeys* hotKeys) { sharedSlot() = hotKeys; }

private:
    static HotKeys*& sharedSlot() {
        static HotKeys* slot = nullptr;
        return slot;
    }
};

} // namespace platform
