#pragma once

#include "platform/ObservationToken.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

struct HttpRequest {
    std::string method = "POST";
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // Seconds without any bytes moving before the exchange is given up.
    double inactivityTimeout = 10;
    // Seconds for the whole exchange, so a server that trickles bytes cannot hold it open.
    double deadline = 30;
    // A longer reply is abandoned rather than buffered.
    std::size_t maxResponseBytes = 64 * 1024;
};

enum class HttpError {
    badURL,           // not an https address
    transport,        // no connection, TLS failure, broken transfer
    timedOut,         // inactivity time-out or overall deadline
    responseTooLarge, // the body passed maxResponseBytes
};

// A complete reply (any status), or why there is none.
struct HttpResult {
    std::optional<HttpError> error;
    int statusCode = 0;
    std::string body;

    bool ok() const { return !error.has_value(); }
};

// Asynchronous HTTPS requests with certificate verification always on.
class HttpClient {
public:
    using Completion = std::function<void(const HttpResult&)>;

    virtual ~HttpClient() = default;

    // Calls `completion` once, on the main thread, unless the returned token is dropped first
    // (which abandons the request).
    [[nodiscard]] virtual ObservationToken send(HttpRequest request, Completion completion) = 0;
};

} // namespace platform
