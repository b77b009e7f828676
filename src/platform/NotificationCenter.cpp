#include "platform/NotificationCenter.h"

namespace platform {

ObservationToken NotificationCenter::addObserver(const std::string& name, Handler handler) {
    return observers_.add(name, std::move(handler));
}

void NotificationCenter::post(const std::string& name, std::optional<UserInfo> userInfo) {
    observers_.notify(name, Notification{name, std::move(userInfo)});
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

} // namespace platform
