#include "platform/fake/FakeHttpClient.h"

namespace platform::fake {

ObservationToken FakeHttpClient::send(HttpRequest request, Completion completion) {
    requests_.push_back(std::move(request));
    const auto id = nextId_++;
    (*pending_)[id] = std::move(completion);
    std::weak_ptr<std::map<std::uint64_t, Completion>> weak = pending_;
    return ObservationToken([weak, id] {
        if (auto pending = weak.lock()) pending->erase(id);
    });
}

bool FakeHttpClient::respond(int statusCode, std::string body) {
    return complete(HttpResult{std::nullopt, statusCode, std::move(body)});
}

bool FakeHttpClient::fail(HttpError error) { return complete(HttpResult{error, 0, {}}); }

bool FakeHttpClient::complete(HttpResult result) {
    if (pending_->empty()) return false;
    auto oldest = pending_->begin();
    auto completion = std::move(oldest->second);
    pending_->erase(oldest);
    completion(result);
    return true;
}

} // namespace platform::fake
