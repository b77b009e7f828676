#include "platform/fake/FakeInputMonitor.h"

#include <vector>

namespace platform::fake {

ObservationToken FakeInputMonitor::addGlobalMonitor(InputEventMask mask, Handler handler) {
    const auto id = nextId_++;
    monitors_->emplace(id, Monitor{mask, std::move(handler)});
    return ObservationToken([weak = std::weak_ptr(monitors_), id] {
        if (auto monitors = weak.lock()) monitors->erase(id);
    });
}

void FakeInputMonitor::send(const InputEvent& event) {
    // Copies: a handler may add or drop monitors while it runs.
    std::vector<Handler> handlers;
    for (const auto& [id, monitor] : *monitors_) {
        if (monitor.mask & maskOf(event.type)) handlers.push_back(monitor.handler);
    }
    for (const auto& handler : handlers) handler(event);
}

void FakeInputMonitor::setKeyDown(std::uint16_t keyCode, bool down) {
    if (down) {
        keysDown_.insert(keyCode);
    } else {
        keysDown_.erase(keyCode);
    }
}

} // namespace platform::fake
