#include "platform/system/DefaultHandler.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <dlfcn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

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
    decltype(&g_desktop_app_info_get_type) desktopEntryType;
    decltype(&g_type_check_instance_is_a) isInstanceOf;
    decltype(&g_desktop_app_info_launch_uris_as_manager) launchDesktopEntry;
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
            symbol<decltype(Gio::spawnErrorDomain)>(library, "g_spawn_error_quark"),
            symbol<decltype(Gio::desktopEntryType)>(library, "g_desktop_app_info_get_type"),
            symbol<decltype(Gio::isInstanceOf)>(library, "g_type_check_instance_is_a"),
            symbol<decltype(Gio::launchDesktopEntry)>(library, "g_desktop_app_info_launch_uris_as_manager")};
        if (!functions.defaultForScheme || !functions.launchUris || !functions.unref || !functions.clearError
            || !functions.spawnErrorDomain || !functions.desktopEntryType || !functions.isInstanceOf
            || !functions.launchDesktopEntry) {
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

// GLib starts a desktop entry's program through a small helper of its own, which then replaces
// itself with the program: GLib learns only that the helper started. When the program cannot be
// run (its interpreter is gone, say) the helper ends at once, unsuccessfully; once the process runs
// anything else, the program has started.
constexpr const char* launchHelper = "gio-launch-desktop";
constexpr auto longestHelperWait = std::chrono::seconds(2);

void reapWhenItEnds(pid_t child) {
    std::thread([child] { ::waitpid(child, nullptr, 0); }).detach();
}

bool programStarted(pid_t child) {
    const std::filesystem::path running = "/proc/" + std::to_string(child) + "/exe";
    const auto deadline = std::chrono::steady_clock::now() + longestHelperWait;
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended < 0) return true; // not a child of ours to follow
        std::error_code error;
        const auto program = std::filesystem::read_symlink(running, error);
        // A helper that takes longer than any start does is not failing to start.
        if ((!error && program.filename() != launchHelper) || std::chrono::steady_clock::now() > deadline) {
            reapWhenItEnds(child);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Starts the handler with the address: through the desktop entry when it is one, so the program's
// own start is followed, else through GIO's general launch.
bool launch(const Gio& functions, GAppInfo* handler, GList* uris, GError** error) {
    if (!functions.isInstanceOf(reinterpret_cast<GTypeInstance*>(handler), functions.desktopEntryType())) {
        return functions.launchUris(handler, uris, nullptr, error);
    }
    std::vector<pid_t> children;
    const GDesktopAppLaunchCallback remember = [](GDesktopAppInfo*, GPid child, gpointer list) {
        static_cast<std::vector<pid_t>*>(list)->push_back(child);
    };
    const bool spawned = functions.launchDesktopEntry(reinterpret_cast<GDesktopAppInfo*>(handler), uris, nullptr,
                                                      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD),
                                                      nullptr, nullptr, remember, &children, error);
    bool started = spawned;
    for (const pid_t child : children) started = programStarted(child) && started;
    return started;
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
    const bool launched = launch(*functions, handler.get(), &uris, &error);
    // An address longer than one argument may be, or a command line too long as a whole (a large
    // environment, a handler whose command adds to the address).
    const bool tooLong = !launched && error && error->domain == functions->spawnErrorDomain()
                         && error->code == G_SPAWN_ERROR_TOO_BIG;
    functions->clearError(&error);
    if (launched) return HandlerLaunch::started;
    return tooLong ? HandlerLaunch::tooLong : HandlerLaunch::failedToStart;
}

} // namespace platform
