#pragma once

#include "platform/x11/X11Connection.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::x11 {

// A property request sent at once and read later, so that many requests share one round trip.
// Reading it when the property is missing or the window has gone gives nothing.
class PendingProperty {
public:
    PendingProperty(X11Connection& connection, xcb_window_t window, xcb_atom_t property,
                    xcb_atom_t type = XCB_ATOM_ANY, std::uint32_t maxItems = 4096);
    ~PendingProperty();
    PendingProperty(PendingProperty&& other) noexcept;
    PendingProperty& operator=(PendingProperty&&) = delete;
    PendingProperty(const PendingProperty&) = delete;
    PendingProperty& operator=(const PendingProperty&) = delete;

    // The items of a 32-bit property.
    std::optional<std::vector<std::uint32_t>> values32();
    // The raw bytes of an 8-bit property (a text), with its type.
    std::optional<std::string> text(xcb_atom_t* typeOut = nullptr);
    // Whether the server refused the read, as it does once the window is gone; known once read.
    bool refused() const { return refused_; }

private:
    struct Raw;
    std::optional<Raw> take();

    X11Connection* connection_;
    xcb_get_property_cookie_t cookie_;
    bool pending_ = true;
    bool refused_ = false;
};

// Latin-1 (ICCCM STRING) to UTF-8.
std::string latin1ToUtf8(const std::string& text);

} // namespace platform::x11
