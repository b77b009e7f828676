#pragma once

#include "platform/ObservationToken.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

// Callbacks kept in subscription order, each tagged with a key that says which events it wants.
// A callback may add or drop subscriptions while others are being called: one dropped before its
// turn is skipped, one added waits for the next call. Tokens outliving the list are harmless.
template <typename Key, typename... Args>
class ObserverList {
public:
    using Callback = std::function<void(const Args&...)>;

    [[nodiscard]] ObservationToken add(Key key, Callback callback) {
        const auto id = nextId_++;
        entries_->push_back({id, std::move(key), std::move(callback)});
        std::weak_ptr<std::vector<Entry>> weak = entries_;
        return ObservationToken([weak, id] {
            if (auto list = weak.lock()) std::erase_if(*list, [id](const Entry& e) { return e.id == id; });
        });
    }

    // Calls, in order, every callback subscribed under `key` when the call began.
    void notify(const Key& key, const Args&... args) const {
        auto keepAlive = entries_;
        std::vector<std::uint64_t> ids;
        for (const auto& entry : *keepAlive) {
            if (entry.key == key) ids.push_back(entry.id);
        }
        for (auto id : ids) {
            auto it = std::find_if(keepAlive->begin(), keepAlive->end(), [id](const Entry& e) { return e.id == id; });
            if (it == keepAlive->end()) continue;
            auto callback = it->callback; // the callback may drop itself and so its stored copy
            callback(args...);
        }
    }

private:
    struct Entry {
        std::uint64_t id;
        Key key;
        Callback callback;
    };
    std::shared_ptr<std::vector<Entry>> entries_ = std::make_shared<std::vector<Entry>>();
    std::uint64_t nextId_ = 1;
};

} // namespace platform
