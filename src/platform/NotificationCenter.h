#pragma once

#include "platform/ObserverList.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using UserInfo = std::map<std::string, std::string>;

struct Notification {
    std::string name;
    // Absent when the poster sent no user info; an empty map is a user info with no entries.
    std::optional<UserInfo> userInfo;
};

// Delivers named notifications synchronously, on the posting (main) thread, in registration order.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    // Observes every post of `name` until the token is dropped.
    [[nodiscard]] ObservationToken addObserver(const std::string& name, Handler handler);

    void post(const std::string& name, std::optional<UserInfo> userInfo = std::nullopt);

    // The process-wide centre ("default notification centre").
    static NotificationCenter& defaultCenter();

private:
    ObserverList<std::string, Notification> observers_;
};

} // namespace platform
