#include "shortcuts/Registry.h"

#include <iostream>
#include <memory>
#include <string_view>
#include <utility>

namespace GlobalShortcuts {

namespace {
std::unique_ptr<Registry>& sharedInstance() {
    static std::unique_ptr<Registry> instance;
    return instance;
}
} // namespace

Registry& Registry::shared() {
    auto& instance = sharedInstance();
    if (!instance) {
        instance = std::make_unique<Registry>(platform::UserDefaults::standard(),
                                              platform::NotificationCenter::defaultCenter(),
                                              platform::HotKeys::shared(), platform::MainQueue::main(), std::cerr);
    }
    return *instance;
}

void Registry::resetShared() { sharedInstance().reset(); }

Registry::Registry(platform::UserDefaults& defaults, platform::NotificationCenter& notifications,
                   platform::HotKeys& hotKeys, platform::MainQueue& mainQueue, std::ostream& diagnostics)
    : defaults_(defaults), notifications_(notifications), mainQueue_(mainQueue), engine_(hotKeys, diagnostics) {
    installMenuTrackingObservers();
    keyboardMappingObserver_ = hotKeys.observeKeyboardMapping([this] { keyboardMappingDidChange(); });
}

// Storage

std::optional<Shortcut> Registry::storedShortcut(const std::string& rawValue) const {
    if (auto found = decoded_.find(rawValue); found != decoded_.end()) return found->second.shortcut;
    const std::string defaultsKey = userDefaultsPrefix + rawValue;
    const auto text = defaults_.stringValue(defaultsKey);
    auto& entry = decoded_[rawValue];
    entry.shortcut = text ? Shortcut::fromJsonText(*text) : std::nullopt;
    // Whoever writes the key, the next read decodes it again.
    entry.watch = defaults_.observe(defaultsKey, [this, rawValue] { decoded_.erase(rawValue); });
    return entry.shortcut;
}

std::optional<Shortcut> Registry::getShortcut(const Name& name) const { return storedShortcut(name.rawValue); }

bool Registry::userDefaultsContains(const Name& name) const { return defaults_.object(key(name)).has_value(); }

void Registry::storeDefaultIfAbsent(const Name& name) {
    if (name.defaultShortcut && !userDefaultsContains(name)) {
        store(name, *name.defaultShortcut, Origin::defaultInPlaceOfNothing);
    }
}

void Registry::store(const Name& name, const Shortcut& shortcut, Origin origin) {
    const auto text = shortcut.jsonText();
    if (auto old = getShortcut(name); old && *old != shortcut && !isStoredForAnyName(*old, name.rawValue)) {
        release(*old);
    }
    registerIfNeeded(shortcut);
    if (origin == Origin::defaultInPlaceOfNothing) defaults_.setDerived(key(name), text);
    else defaults_.set(key(name), text);
    postShortcutByNameDidChange(name);
}

void Registry::setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    if (shortcut) {
        store(name, *shortcut);
        return;
    }
    const auto current = getShortcut(name);
    if (!current) return;
    if (name.defaultShortcut) {
        defaults_.set(key(name), false);
    } else {
        defaults_.removeObject(key(name));
    }
    releaseUnlessStored(*current);
    postShortcutByNameDidChange(name);
}

void Registry::postShortcutByNameDidChange(const Name& name) {
    notifications_.post(shortcutByNameDidChangeNotification, platform::UserInfo{{"name", name.rawValue}});
}

std::vector<Name> Registry::storedNames() const {
    const std::string_view prefix = userDefaultsPrefix;
    std::vector<Name> names;
    for (const auto& defaultsKey : defaults_.allKeys()) {
        if (defaultsKey.size() > prefix.size() && defaultsKey.compare(0, prefix.size(), prefix) == 0) {
            names.emplace_back(defaultsKey.substr(prefix.size()));
        }
    }
    return names;
}

bool Registry::isStoredForAnyName(const Shortcut& shortcut, const std::string& exceptRawValue) const {
    for (const auto& name : storedNames()) {
        if (name.rawValue != exceptRawValue && storedShortcut(name.rawValue) == shortcut) return true;
    }
    return false;
}

// Registration

void Registry::registerIfNeeded(const Shortcut& shortcut) {
    if (registeredShortcuts_.count(shortcut)) return;
    std::weak_ptr<Registry*> weak = self_;
    const bool registered = engine_.registerShortcut(
        shortcut,
        [weak](const Shortcut& pressed) {
            if (auto self = weak.lock()) (*self)->handleOnKeyDown(pressed);
        },
        [weak](const Shortcut& released) {
            if (auto self = weak.lock()) (*self)->handleOnKeyUp(released);
        });
    if (registered) {
        registeredShortcuts_.insert(shortcut);
        failedShortcuts_.erase(shortcut);
    } else {
        failedShortcuts_.insert(shortcut);
    }
}

void Registry::release(const Shortcut& shortcut) {
    engine_.unregister(shortcut);
    registeredShortcuts_.erase(shortcut);
    failedShortcuts_.erase(shortcut);
}

void Registry::releaseUnlessStored(const Shortcut& shortcut) {
    if (!isStoredForAnyName(shortcut)) release(shortcut);
}

void Registry::setEnabled(bool enabled) {
    if (enabled == isEnabled_) return;
    isEnabled_ = enabled;
    updateEngine();
}

void Registry::updateEngine() {
    engine_.updateEventHandler(isEnabled_ && hotKeysDownHolds_ == 0, isMenuOpen_);
    retryFailedRegistrations();
}

platform::ObservationToken Registry::takeHotKeysDown() {
    if (hotKeysDownHolds_++ == 0) updateEngine();
    std::weak_ptr<Registry*> weak = self_;
    return platform::ObservationToken([weak] {
        auto self = weak.lock();
        if (self && --(*self)->hotKeysDownHolds_ == 0) (*self)->updateEngine();
    });
}

void Registry::keyboardMappingDidChange() {
    // The keys may sit elsewhere now, and a combination another program held may be free.
    engine_.registerAllAgain();
    retryFailedRegistrations();
}

void Registry::retryFailedRegistrations() {
    if (!isInHotKeyMode()) return;
    const auto failed = failedShortcuts_;
    for (const auto& shortcut : failed) {
        if (isStoredForAnyName(shortcut)) {
            registerIfNeeded(shortcut);
        } else {
            failedShortcuts_.erase(shortcut);
        }
    }
}

void Registry::installMenuTrackingObservers() {
    menuBeganObserver_ = notifications_.addObserver(menuDidBeginTrackingNotification, [this](const auto&) {
        const bool wasOpen = std::exchange(isMenuOpen_, true);
        if (!wasOpen) updateEngine();
    });
    menuEndedObserver_ = notifications_.addObserver(menuDidEndTrackingNotification, [this](const auto&) {
        const bool wasOpen = std::exchange(isMenuOpen_, false);
        if (wasOpen) updateEngine();
    });
}

// Actions and dispatch

void Registry::addAction(ActionTable& table, const Name& name, Action action) {
    table[name.rawValue].push_back(std::move(action));
    if (auto shortcut = getShortcut(name)) registerIfNeeded(*shortcut);
}

void Registry::onKeyDown(const Name& name, Action action) { addAction(keyDownHandlers_, name, std::move(action)); }

void Registry::onKeyUp(const Name& name, Action action) { addAction(keyUpHandlers_, name, std::move(action)); }

void Registry::handleKeyEvent(const Shortcut& pressed, EventType type) {
    if (isPaused_) return;
    // Copies: an action may add actions or streams while this runs.
    const auto actions = type == EventType::keyDown ? keyDownHandlers_ : keyUpHandlers_;
    for (const auto& [rawValue, list] : actions) {
        if (storedShortcut(rawValue) != pressed) continue;
        for (const auto& action : list) action();
    }
    // Each stream action is looked up again just before it runs: an earlier action may have ended
    // that stream, and with it the object its consumer uses.
    const auto& streams = type == EventType::keyDown ? streamKeyDownHandlers_ : streamKeyUpHandlers_;
    std::vector<std::pair<std::string, std::uint64_t>> due;
    for (const auto& [rawValue, byId] : streams) {
        if (storedShortcut(rawValue) != pressed) continue;
        for (const auto& entry : byId) due.emplace_back(rawValue, entry.first);
    }
    for (const auto& [rawValue, id] : due) {
        const auto byId = streams.find(rawValue);
        if (byId == streams.end()) continue;
        const auto entry = byId->second.find(id);
        if (entry == byId->second.end()) continue;
        const auto action = entry->second; // the action may end its own stream
        action();
    }
}

// Module operations

void Registry::reset(const std::vector<Name>& names) {
    for (const auto& name : names) {
        if (name.defaultShortcut) {
            store(name, *name.defaultShortcut);
        } else if (auto current = getShortcut(name)) {
            defaults_.removeObject(key(name));
            releaseUnlessStored(*current);
            postShortcutByNameDidChange(name);
        }
    }
}

void Registry::resetAll() { reset(storedNames()); }

void Registry::enable(const std::vector<Name>& names) {
    for (const auto& name : names) {
        if (auto shortcut = getShortcut(name)) registerIfNeeded(*shortcut);
    }
}

void Registry::disable(const std::vector<Name>& names) {
    for (const auto& name : names) {
        if (auto shortcut = getShortcut(name)) release(*shortcut);
    }
}

void Registry::removeAllHandlers() {
    std::vector<Shortcut> shortcuts;
    for (const auto* table : {&keyDownHandlers_, &keyUpHandlers_}) {
        for (const auto& [rawValue, list] : *table) {
            if (auto shortcut = storedShortcut(rawValue)) shortcuts.push_back(*shortcut);
        }
    }
    for (const auto* table : {&streamKeyDownHandlers_, &streamKeyUpHandlers_}) {
        for (const auto& [rawValue, byId] : *table) {
            if (auto shortcut = storedShortcut(rawValue)) shortcuts.push_back(*shortcut);
        }
    }
    for (const auto& shortcut : shortcuts) release(shortcut);
    keyDownHandlers_.clear();
    keyUpHandlers_.clear();
}

// Event streams

std::uint64_t Registry::schedule(std::function<void()> work) {
    for (auto id : finishedWork_) pendingWork_.erase(id);
    finishedWork_.clear();
    const auto id = nextWorkId_++;
    std::weak_ptr<Registry*> weak = self_;
    pendingWork_.emplace(id, mainQueue_.post([weak, id, work = std::move(work)] {
        auto self = weak.lock();
        if (!self) return;
        (*self)->finishedWork_.insert(id);
        work();
    }));
    return id;
}

platform::ObservationToken Registry::events(const Name& name, std::function<void(EventType)> consumer) {
    const auto streamId = nextStreamId_++;
    const auto rawValue = name.rawValue;
    const auto start = schedule([this, name, streamId, consumer] {
        streamKeyDownHandlers_[name.rawValue][streamId] = [consumer] { consumer(EventType::keyDown); };
        streamKeyUpHandlers_[name.rawValue][streamId] = [consumer] { consumer(EventType::keyUp); };
        if (auto shortcut = getShortcut(name)) registerIfNeeded(*shortcut);
    });
    std::weak_ptr<Registry*> weak = self_;
    return platform::ObservationToken([weak, rawValue, streamId, start] {
        if (auto self = weak.lock()) (*self)->endStream(rawValue, streamId, start);
    });
}

void Registry::endStream(const std::string& rawValue, std::uint64_t streamId, std::uint64_t start) {
    // At once, not on a later turn: the consumer may use an object that is being destroyed now.
    pendingWork_.erase(start);
    for (auto* table : {&streamKeyDownHandlers_, &streamKeyUpHandlers_}) {
        if (auto entry = table->find(rawValue); entry != table->end()) {
            entry->second.erase(streamId);
            if (entry->second.empty()) table->erase(entry);
        }
    }
    // The hot key itself can wait: with no action left a press of it does nothing.
    schedule([this, rawValue] { releaseUnlessUsed(rawValue); });
}

void Registry::releaseUnlessUsed(const std::string& rawValue) {
    const auto shortcut = storedShortcut(rawValue);
    if (!shortcut) return;
    for (const auto* table : {&keyDownHandlers_, &keyUpHandlers_}) {
        for (const auto& [other, list] : *table) {
            if (storedShortcut(other) == shortcut) return;
        }
    }
    for (const auto* table : {&streamKeyDownHandlers_, &streamKeyUpHandlers_}) {
        for (const auto& [other, byId] : *table) {
            if (storedShortcut(other) == shortcut) return;
        }
    }
    release(*shortcut);
}

platform::ObservationToken Registry::events(EventType type, const Name& name, std::function<void()> consumer) {
    return events(name, [type, consumer = std::move(consumer)](EventType event) {
        if (event == type) consumer();
    });
}

} // namespace GlobalShortcuts
