#pragma once

#include "platform/HttpClient.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace platform::fake {

// Records requests; the test answers each one when it likes.
class FakeHttpClient : public HttpClient {
public:
    ObservationToken send(HttpRequest request, Completion completion) override;

    // Every request sent, answered or not.
    const std::vector<HttpRequest>& requests() const { return requests_; }
    // Requests still waiting for an answer (not answered, not abandoned).
    std::size_t pendingCount() const { return pending_->size(); }

    // Answers the oldest waiting request; false when none waits.
    bool respond(int statusCode, std::string body);
    bool fail(HttpError error);

private:
    bool complete(HttpResult result);

    std::vector<HttpRequest> requests_;
    std::shared_ptr<std::map<std::uint64_t, Completion>> pending_ = std::make_shared<std::map<std::uint64_t, Completion>>();
    std::uint64_t nextId_ = 1;
};

} // namespace platform::fake
