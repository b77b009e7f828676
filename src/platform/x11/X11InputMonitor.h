#pragma once

#include "platform/InputMonitor.h"
#include "platform/MainQueue.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11Monitors.h"
#include "platform/x11/X11RawInput.h"

#include <map>
#include <memory>
#include <optional>
#include <set>

namespace platform::x11 {

class X11Accessibility;

// Pointer buttons and keys of the whole desktop from XInput raw events on the root, which arrive
// even while the window manager holds the pointer for a window move. Raw events carry no pointer
// position or modifier state: both are asked of the server when an event is handed on. Motion is
// selected only while a button is held, and bursts of it are handed on once per turn of the queue.
// A right-button press also asks whether the window the server shows at the pointer is a popup or
// one of the program's own (X11Accessibility::isPopupOrOwnWindow); the program's windows that let
// clicks through have no input region, so the server looks beneath them.
class X11InputMonitor : public InputMonitor {
public:
    X11InputMonitor(X11Connection& connection, X11Keymap& keymap, X11Monitors& monitors, X11Accessibility& windows,
                    MainQueue& queue);
    ~X11InputMonitor() override;
    X11InputMonitor(const X11InputMonitor&) = delete;
    X11InputMonitor& operator=(const X11InputMonitor&) = delete;

    ObservationToken addGlobalMonitor(InputEventMask mask, Handler handler) override;
    std::uint64_t modifierFlags() const override;
    bool isKeyDown(std::uint16_t keyCode) const override;
    void beep() override;

private:
    struct Monitor {
        InputEventMask mask;
        Handler handler;
    };
    struct Pointer {
        Point location;
        std::uint64_t flags = 0;
        // The root's child under the pointer: a frame, or a window the window manager leaves alone.
        xcb_window_t topLevel = XCB_NONE;
    };
    void updateSelection();
    void handleEvent(const xcb_generic_event_t& event);
    void handleButton(std::uint32_t button, bool press);
    void flushMotion();
    std::optional<Pointer> queryPointer() const;
    void deliver(InputEventType type, const Pointer& pointer, std::uint16_t keyCode = 0,
                 bool onPopupOrOwnWindow = false);
    InputEventMask wantedMask() const;

    X11Connection& connection_;
    X11Keymap& keymap_;
    X11Monitors& monitors_;
    X11Accessibility& windows_;
    MainQueue& queue_;
    std::optional<RootSpace> rootSpace_;
    std::shared_ptr<std::map<std::uint64_t, Monitor>> handlers_ = std::make_shared<std::map<std::uint64_t, Monitor>>();
    std::uint64_t nextId_ = 1;
    std::set<std::uint32_t> buttonsHeld_;
    ObservationToken selection_;
    std::uint32_t selectedBits_ = 0;
    ScheduledTask pendingMotion_;
    ObservationToken eventToken_;
};

} // namespace platform::x11
