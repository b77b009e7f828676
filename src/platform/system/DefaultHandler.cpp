#include "platform/system/DefaultHandler.h"

#include <gio/gio.h>

#include <dlfcn.h>

#include <memory>
#include <optional>

namespace platform {

namespace {

// The few GIO functions a launch needs. GIO is loaded on the first launch, not at start: a
// program that never opens a mail link does not carry its megabyte in memory.
struct Gio {
    decltype(&g_app_info_get_default_for_uri_scheme) defaultForScheme;
    decltype(&g_app_info_launch_uris) launchUris;
    decltype(&g_object_unref) unref;
    decltype(&g_clear_error) clearError;
    decltype(&g_spawn_error_quark) spawnErrorDomain;
};

template <typename Function>
Function symbol(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

// Nothing when GIO cannot be loaded: then no program is known for any address.
const Gio* gio() {
    static const std::optional<Gio> loaded = []() -> std::optional<Gio> {
        // Never unloaded: GIO registers types for the life of the process.
        void* library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library) return std::nullopt;
        const Gio functions{
            symbol<decltype(Gio::defaultForScheme)>(library, "g_app_info_get_default_for_uri_scheme"),
            symbol<decltype(Gio::launchUris)>(library, "g_app_info_launch_uris"),
            symbol<decltype(Gio::unref)>(library, "g_object_unref"),
            symbol<decltype(Gio::clearError)>(library, "g_clear_error"),
            symbol<decltype(Gio::spawnErrorDomain)>(library, "g_spawn_error_quark")};
        if (!functions.defaultForScheme || !functions.launchUris || !functions.unref || !functions.clearError
            || !functions.spawnErrorDomain) {
            return std::nullopt;
        }
        return functions;
    }();
    return loaded ? &*loaded : nullptr;
}

struct ObjectRelease {
    void operator()(GAppInfo* object) const { gio()->unref(object); }
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
    const auto* functions = gio();
    if (scheme.empty() || !functions) return HandlerLaunch::noHandler;
    const std::unique_ptr<GAppInfo, ObjectRelease> handler(functions->defaultForScheme(scheme.c_str()));
    if (!handler) return HandlerLaunch::noHandler;
    GList uris{};
    uris.data = const_cast<char*>(url.c_str());
    GError* error = nullptr;
    // Reports a program that cannot be run, not only that the request was made.
    const bool launched = functions->launchUris(handler.get(), &uris, nullptr, &error);
    // An address longer than one argument may be, or a command line too long as a whole (a large
    // environment, a handler whose command adds to the address).
    const bool tooLong = !launched && error && error->domain == functions->spawnErrorDomain()
                         && error->code == G_SPAWN_ERROR_TOO_BIG;
    functions->clearError(&error);
    if (launched) return HandlerLaunch::started;
    return tooLong ? HandlerLaunch::tooLong : HandlerLaunch::failedToStart;
}

} // namespace platform
