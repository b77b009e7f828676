// The version endpoint's reply, as any server on the way could send it, and the request built
// from a version text: a decoded reply holds what a second decode of the same text holds, and a
// request that can be encoded is valid JSON carrying the version unchanged.
#include "services/AppVersionResponse.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto reply = zentaris::AppVersionResponse::decode(text)) {
        if (zentaris::AppVersionResponse::decode(text) != reply) std::abort();
    }
    if (const auto request = zentaris::encodeVersionRequest(text, "linux")) {
        const auto document = nlohmann::json::parse(*request, nullptr, /*allow_exceptions=*/false);
        if (!document.is_object() || document.value("currentVersion", std::string()) != text) std::abort();
    }
    return 0;
}
