#include "platform/x11/X11Properties.h"

#include "platform/x11/X11Reply.h"

#include <cstring>
#include <utility>

namespace platform::x11 {

struct PendingProperty::Raw {
    std::uint8_t format;
    xcb_atom_t type;
    std::string bytes;
};

PendingProperty::PendingProperty(X11Connection& connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                 std::uint32_t maxItems)
    : connection_(&connection), cookie_(xcb_get_property(connection.xcb(), 0, window, property, type, 0, maxItems)) {}

PendingProperty::PendingProperty(PendingProperty&& other) noexcept
    : connection_(other.connection_), cookie_(other.cookie_), pending_(std::exchange(other.pending_, false)),
      refused_(other.refused_) {}

PendingProperty::~PendingProperty() {
    if (pending_) xcb_discard_reply(connection_->xcb(), cookie_.sequence);
}

std::optional<PendingProperty::Raw> PendingProperty::take() {
    if (!pending_) return std::nullopt;
    pending_ = false;
    auto reply = waitForReply(connection_->xcb(), xcb_get_property_reply, cookie_);
    refused_ = !reply;
    if (!reply || reply->type == XCB_ATOM_NONE) return std::nullopt;
    const auto length = xcb_get_property_value_length(reply.get());
    if (length < 0) return std::nullopt;
    Raw raw{reply->format, reply->type, {}};
    raw.bytes.assign(static_cast<const char*>(xcb_get_property_value(reply.get())), static_cast<std::size_t>(length));
    return raw;
}

std::optional<std::vector<std::uint32_t>> PendingProperty::values32() {
    auto raw = take();
    if (!raw || raw->format != 32) return std::nullopt;
    std::vector<std::uint32_t> values(raw->bytes.size() / 4);
    if (!values.empty()) std::memcpy(values.data(), raw->bytes.data(), values.size() * 4);
    return values;
}

std::optional<std::string> PendingProperty::text(xcb_atom_t* typeOut) {
    auto raw = take();
    if (!raw || raw->format != 8) return std::nullopt;
    if (typeOut) *typeOut = raw->type;
    return std::move(raw->bytes);
}

std::string latin1ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

} // namespace platform::x11
