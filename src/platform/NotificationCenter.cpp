#include "platform/NotificationCenter.h"

#include <algorithm>

namespace platform {

ObservationToken NotificationCenter::addObserver(const std::string& name, Handler handler) {
    const auto id = nextId_++;
    observers_->push_back({id, name, std::move(handler)});
    std::weak_ptr<std::vector<Observer>> weak = observers_;
    return ObservationToken([weak, id] {
        if (auto list = weak.lock()) {
            std::erase_if(*list, [id](const Observer& o) { return o.id == id; });
        }
    });
}

void NotificationCenter::post(const std::string& name, std::optional<UserInfo> userInfo) {
    const Notification notification{name, std::move(userInfo)};
    // Deliver to the observers present at the post; one removed by an earlier handler is skipped,
    // one added during delivery waits for the next post.
    std::vector<std::uint64_t> ids;
    for (const auto& observer : *observers_) {
        if (observer.name == name) ids.push_back(observer.id);
    }
    auto keepAlive = observers_;
    for (auto id : ids) {
        auto it = std::find_if(keepAlive->begin(), keepAlive->end(), [id](const Observer& o) { return o.id == id; });
        if (it == keepAlive->end()) continue;
        auto handler = it->handler; // the handler may remove itself and so destroy the stored copy
        handler(notification);
    }
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

} // namespace platform
