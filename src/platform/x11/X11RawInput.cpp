#include "platform/x11/X11RawInput.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Reply.h"

#include <xcb/xinput.h>

namespace platform::x11 {

X11RawInput::X11RawInput(X11Connection& connection) : connection_(connection) {
    auto* xcb = connection.xcb();
    if (const auto* extension = xcb_get_extension_data(xcb, &xcb_input_id); extension && extension->present) {
        // Raw events reach every client whatever grabs are active only from version 2.1 on.
        auto version = waitForReply(xcb, xcb_input_xi_query_version_reply, xcb_input_xi_query_version(xcb, 2, 2));
        if (version && (version->major_version > 2 || (version->major_version == 2 && version->minor_version >= 1))) {
            opcode_ = extension->major_opcode;
        }
    }
}

X11RawInput::~X11RawInput() {
    selections_->bitsById.clear();
    apply();
}

ObservationToken X11RawInput::select(std::uint32_t bits) {
    const auto id = selections_->nextId++;
    selections_->bitsById.emplace(id, bits);
    apply();
    return ObservationToken([this, weak = std::weak_ptr<Selections>(selections_), id] {
        auto alive = weak.lock();
        if (!alive) return;
        alive->bitsById.erase(id);
        apply();
    });
}

void X11RawInput::apply() {
    std::uint32_t wanted = 0;
    for (const auto& [id, bits] : selections_->bitsById) wanted |= bits;
    if (!opcode_ || wanted == selections_->selected || !connection_.isConnected()) return;
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, wanted};
    xcb_input_xi_select_events(connection_.xcb(), connection_.root(), 1, &mask.head);
    connection_.flush();
    selections_->selected = wanted;
}

} // namespace platform::x11
