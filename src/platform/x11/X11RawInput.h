#pragma once

#include "platform/ObservationToken.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

namespace platform::x11 {

class X11Connection;

// The XInput raw events that this client selects on the root window. The server keeps one XInput
// mask per client, window and device, so every part of the backend adds its bits here and the
// union is selected. Raw events reach us whatever grabs other clients hold.
class X11RawInput {
public:
    explicit X11RawInput(X11Connection& connection);
    ~X11RawInput();
    X11RawInput(const X11RawInput&) = delete;
    X11RawInput& operator=(const X11RawInput&) = delete;

    // The extension's opcode when the server has XInput 2.1 or later; none means no raw events.
    std::optional<std::uint8_t> opcode() const { return opcode_; }
    // Adds XCB_INPUT_XI_EVENT_MASK_RAW_* bits until the token is dropped.
    [[nodiscard]] ObservationToken select(std::uint32_t bits);

private:
    struct Selections {
        std::uint64_t nextId = 1;
        std::map<std::uint64_t, std::uint32_t> bitsById;
        std::uint32_t selected = 0;
    };
    void apply();

    X11Connection& connection_;
    std::optional<std::uint8_t> opcode_;
    std::shared_ptr<Selections> selections_ = std::make_shared<Selections>();
};

} // namespace platform::x11
