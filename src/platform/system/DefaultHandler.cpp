#include "platform/system/DefaultHandler.h"

#include <gio/gio.h>

#include <memory>

namespace platform {

namespace {

struct ObjectRelease {
    void operator()(GAppInfo* object) const { g_object_unref(object); }
};

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The scheme in lower case: a letter, then letters, digits, '+', '-' or '.', up to the colon.
// Empty when the address starts otherwise.
std::string schemeOf(const std::string& url) {
    std::string scheme;
    for (const char c : url) {
        if (c == ':') return scheme;
        const bool allowed = isAsciiLetter(c) || (!scheme.empty() && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!allowed) return {};
        scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return {};
}

} // namespace

HandlerLaunch launchDefaultHandler(const std::string& url) {
    const std::string scheme = schemeOf(url);
    if (scheme.empty()) return HandlerLaunch::noHandler;
    const std::unique_ptr<GAppInfo, ObjectRelease> handler(g_app_info_get_default_for_uri_scheme(scheme.c_str()));
    if (!handler) return HandlerLaunch::noHandler;
    GList uris{};
    uris.data = const_cast<char*>(url.c_str());
    GError* error = nullptr;
    // Reports a program that cannot be run, not only that the request was made.
    const bool launched = g_app_info_launch_uris(handler.get(), &uris, nullptr, &error);
    g_clear_error(&error);
    return launched ? HandlerLaunch::started : HandlerLaunch::failedToStart;
}

} // namespace platform
