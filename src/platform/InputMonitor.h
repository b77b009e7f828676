#pragma once

#include "platform/Geometry.h"
#include "platform/ObservationToken.h"

#include <cstdint>
#include <functional>

namespace platform {

// Pointer and key events of the whole desktop, numbered as the event types whose masks the
// monitors take (mask = 1 << type).
enum class InputEventType : std::uint8_t {
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    keyDown = 10,
};

using InputEventMask = std::uint64_t;

constexpr InputEventMask maskOf(InputEventType type) { return InputEventMask{1} << static_cast<unsigned>(type); }

struct InputEvent {
    InputEventType type = InputEventType::leftMouseDown;
    // The pointer when the event happened, in screen coordinates (bottom-left origin).
    Point location;
    // Modifier flags held at the time, as event flags (shift 0x20000, control 0x40000, option
    // 0x80000, command 0x100000).
    std::uint64_t modifierFlags = 0;
    // The virtual key code of a key event; 0 otherwise.
    std::uint16_t keyCode = 0;
    // Of a right-button press: it landed on a window that lies above the others without the window
    // manager (a menu, tooltip or notification, the program's own menus included), or on one of the
    // program's own windows (settings, tutorial, alerts), not on another program's window or the
    // desktop. The program's windows that let clicks through do not count.
    bool onPopupOrOwnWindow = false;
};

// Watches the pointer buttons and the keyboard of the whole desktop, whichever window has them,
// and answers questions about their state now.
class InputMonitor {
public:
    using Handler = std::function<void(const InputEvent&)>;

    virtual ~InputMonitor() = default;

    // Calls `handler` for every event whose type is in `mask` until the token is dropped. Events
    // of the program's own windows are included.
    [[nodiscard]] virtual ObservationToken addGlobalMonitor(InputEventMask mask, Handler handler) = 0;
    // The modifier flags held now.
    virtual std::uint64_t modifierFlags() const = 0;
    // Whether the key with this virtual key code is held now.
    virtual bool isKeyDown(std::uint16_t keyCode) const = 0;
    // The desktop's alert sound.
    virtual void beep() = 0;
};

} // namespace platform
