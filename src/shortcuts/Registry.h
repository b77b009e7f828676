#pragma once

#include "platform/HotKeys.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "shortcuts/HotKeyEngine.h"
#include "shortcuts/Name.h"

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace GlobalShortcuts {

inline constexpr const char* userDefaultsPrefix = "GlobalShortcuts_";
inline constexpr const char* shortcutByNameDidChangeNotification = "GlobalShortcuts_shortcutByNameDidChange";
// Posted by the module's recorder when it starts and ends recording; user info "isActive" is
// "true" or "false".
inline constexpr const char* recorderActiveStatusDidChangeNotification = "GlobalShortcuts_recorderActiveStatusDidChange";
// Posted by whoever shows the program's menus, when one opens and when it closes.
inline constexpr const char* menuDidBeginTrackingNotification = "NSMenuDidBeginTrackingNotification";
inline constexpr const char* menuDidEndTrackingNotification = "NSMenuDidEndTrackingNotification";

enum class EventType { keyDown = 0, keyUp = 1 };

// Stores shortcuts per name, keeps every stored shortcut registered as a hot key once, however
// many names share it, and runs the actions of every name whose shortcut is pressed.
class Registry {
public:
    using Action = std::function<void()>;

    Registry(platform::UserDefaults& defaults, platform::NotificationCenter& notifications,
             platform::HotKeys& hotKeys, platform::MainQueue& mainQueue, std::ostream& diagnostics);

    // The process-wide registry over the standard defaults, the default centre and the installed hot keys.
    static Registry& shared();
    static void resetShared();

    std::optional<Shortcut> getShortcut(const Name& name) const;
    void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
    void onKeyDown(const Name& name, Action action);
    void onKeyUp(const Name& name, Action action);
    bool userDefaultsContains(const Name& name) const;
    // Stores the name's default when nothing at all is stored under its key.
    void storeDefaultIfAbsent(const Name& name);
    // Stores `shortcut` as a default for a name that has no shortcut; should it never reach the
    // disk, it is stored again at the next start.
    void storeDefault(const Name& name, const Shortcut& shortcut) { store(name, shortcut, Origin::defaultInPlaceOfNothing); }

    bool isEnabled() const { return isEnabled_; }
    void setEnabled(bool enabled);
    bool isPaused() const { return isPaused_; }
    void setPaused(bool paused) { isPaused_ = paused; }
    bool isMenuOpen() const { return isMenuOpen_; }
    // Takes every hot key down until the token is dropped, so that each combination reaches the
    // program's own focused window instead of the system-wide registration. Holds may overlap.
    [[nodiscard]] platform::ObservationToken takeHotKeysDown();
    // Registers again what the system turned down earlier (another program may have let go of it).
    void retryFailedRegistrations();

    void reset(const std::vector<Name>& names);
    void resetAll();
    std::vector<Name> storedNames() const;
    void enable(const std::vector<Name>& names);
    void disable(const std::vector<Name>& names);
    void removeAllHandlers();

    // Delivers the name's key-down and key-up events from a later turn of the main queue until the
    // token is dropped; dropping it ends the delivery at once.
    [[nodiscard]] platform::ObservationToken events(const Name& name, std::function<void(EventType)> consumer);
    [[nodiscard]] platform::ObservationToken events(EventType type, const Name& name, std::function<void()> consumer);

    void handleOnKeyDown(const Shortcut& shortcut) { handleKeyEvent(shortcut, EventType::keyDown); }
    void handleOnKeyUp(const Shortcut& shortcut) { handleKeyEvent(shortcut, EventType::keyUp); }

    HotKeyEngine& engine() { return engine_; }
    bool isRegistered(const Shortcut& shortcut) const { return registeredShortcuts_.count(shortcut) != 0; }

private:
    using ActionTable = std::map<std::string, std::vector<Action>>;
    using StreamTable = std::map<std::string, std::map<std::uint64_t, Action>>;

    static std::string key(const Name& name) { return userDefaultsPrefix + name.rawValue; }
    std::optional<Shortcut> storedShortcut(const std::string& rawValue) const;
    // A default stored in place of nothing is stored again at the next start should it be lost.
    enum class Origin { user, defaultInPlaceOfNothing };
    void store(const Name& name, const Shortcut& shortcut, Origin origin = Origin::user);
    void postShortcutByNameDidChange(const Name& name);
    void registerIfNeeded(const Shortcut& shortcut);
    void release(const Shortcut& shortcut);
    void releaseUnlessStored(const Shortcut& shortcut);
    bool isStoredForAnyName(const Shortcut& shortcut, const std::string& exceptRawValue = {}) const;
    void updateEngine();
    bool isInHotKeyMode() const { return isEnabled_ && hotKeysDownHolds_ == 0 && !isMenuOpen_; }
    void keyboardMappingDidChange();
    void handleKeyEvent(const Shortcut& pressed, EventType type);
    void addAction(ActionTable& table, const Name& name, Action action);
    void installMenuTrackingObservers();
    // Runs the work on a later turn of the main queue; the id lets it be cancelled before then.
    std::uint64_t schedule(std::function<void()> work);
    void endStream(const std::string& rawValue, std::uint64_t streamId, std::uint64_t start);
    // Takes the name's hot key down when no name with actions or streams stores it any more.
    void releaseUnlessUsed(const std::string& rawValue);

    platform::UserDefaults& defaults_;
    platform::NotificationCenter& notifications_;
    platform::MainQueue& mainQueue_;
    HotKeyEngine engine_;

    bool isEnabled_ = true;
    bool isPaused_ = false;
    bool isMenuOpen_ = false;
    int hotKeysDownHolds_ = 0;
    std::unordered_set<Shortcut> registeredShortcuts_;
    // Registrations the system turned down; tried again whenever the hot keys are registered again.
    std::unordered_set<Shortcut> failedShortcuts_;
    ActionTable keyDownHandlers_;
    ActionTable keyUpHandlers_;
    StreamTable streamKeyDownHandlers_;
    StreamTable streamKeyUpHandlers_;
    std::uint64_t nextStreamId_ = 1;
    std::map<std::uint64_t, platform::ScheduledTask> pendingWork_;
    std::set<std::uint64_t> finishedWork_;
    std::uint64_t nextWorkId_ = 1;
    platform::ObservationToken menuBeganObserver_;
    platform::ObservationToken menuEndedObserver_;
    platform::ObservationToken keyboardMappingObserver_;
    // Every stored shortcut read so far, decoded once and forgotten when its key changes: a key
    // press compares against every name with actions.
    struct DecodedShortcut {
        std::optional<Shortcut> shortcut;
        platform::ObservationToken watch;
    };
    mutable std::map<std::string, DecodedShortcut> decoded_;
    std::shared_ptr<Registry*> self_ = std::make_shared<Registry*>(this);
};

} // namespace GlobalShortcuts
