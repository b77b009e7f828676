#include "preferences/ShortcutSettings.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <utility>

namespace zentaris {

namespace {
std::unique_ptr<ShortcutSettings>& sharedInstance() {
    static std::unique_ptr<ShortcutSettings> instance;
    return instance;
}

// The switches as stored: data holding a JSON object of Bools; nothing when absent or anything else.
std::optional<std::map<std::string, bool>> decodeStates(const std::optional<platform::DefaultsValue>& stored) {
    const auto* data = stored ? std::get_if<platform::Data>(&*stored) : nullptr;
    if (!data) return std::nullopt;
    const auto document = nlohmann::json::parse(data->toString(), nullptr, /*allow_exceptions=*/false);
    if (!document.is_object()) return std::nullopt;
    std::map<std::string, bool> states;
    for (const auto& [name, state] : document.items()) {
        if (!state.is_boolean()) return std::nullopt;
        states[name] = state.get<bool>();
    }
    return states;
}

// One switch as stored: on, off, or nothing stored (or nothing readable).
std::optional<bool> switchState(const std::optional<platform::DefaultsValue>& stored, const std::string& name) {
    const auto states = decodeStates(stored);
    if (!states) return std::nullopt;
    const auto found = states->find(name);
    return found == states->end() ? std::nullopt : std::optional(found->second);
}

// The stored form of the switches; nothing when a name is not text JSON can hold (invalid UTF-8).
std::optional<platform::Data> encodeStates(const std::map<std::string, bool>& states) {
    nlohmann::json document = nlohmann::json::object();
    for (const auto& [name, state] : states) document[name] = state;
    try {
        return platform::Data::fromString(document.dump());
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

} // namespace

ShortcutSettings& ShortcutSettings::shared() {
    auto& instance = sharedInstance();
    if (!instance) {
        instance = std::make_unique<ShortcutSettings>(platform::UserDefaults::standard(),
                                                      platform::NotificationCenter::defaultCenter());
    }
    return *instance;
}

void ShortcutSettings::resetShared() { sharedInstance().reset(); }

ShortcutSettings::ShortcutSettings(platform::UserDefaults& defaults, platform::NotificationCenter& notifications)
    : defaults_(defaults), notifications_(notifications) {
    load();
}

void ShortcutSettings::load() {
    shortcutsEnabled_.setQuietly(defaults_.boolValue(shortcutsEnabledKey).value_or(true));

    const auto storedModifier = defaults_.stringValue(dragModeModifierKey);
    if (storedModifier == "option_command" || storedModifier == "option") {
        // Values of an earlier version, which no longer exist.
        dragModeModifier_.setQuietly(DragModeModifier::command);
        defaults_.setDerived(dragModeModifierKey, std::string(rawValue(DragModeModifier::command)));
    } else if (storedModifier) {
        dragModeModifier_.setQuietly(dragModeModifierFromRaw(*storedModifier).value_or(DragModeModifier::command));
    }

    rightClickDragEnabled_.setQuietly(defaults_.boolValue(rightClickDragEnabledKey).value_or(true));

    if (auto style = defaults_.stringValue(threeColumnStyleKey)) {
        threeColumnStyle_.setQuietly(threeColumnStyleFromRaw(*style).value_or(ThreeColumnStyle::balanced));
    }

    // Switches that cannot be read all count as on; they are named, and kept in a copy of the file
    // before a switch of this session replaces them.
    const auto storedStates = defaults_.object(individualStatesKey);
    if (auto states = decodeStates(storedStates)) individualStates_ = std::move(*states);
    else if (storedStates) defaults_.reportUnreadableValue(individualStatesKey);
}

void ShortcutSettings::setShortcutsEnabled(bool enabled) {
    objectWillChange_.send();
    shortcutsEnabled_.set(enabled);
    defaults_.set(shortcutsEnabledKey, enabled);
    notifications_.post(statesDidChangeNotification);
}

void ShortcutSettings::setDragModeModifier(DragModeModifier modifier) {
    objectWillChange_.send();
    dragModeModifier_.set(modifier);
    defaults_.set(dragModeModifierKey, std::string(rawValue(modifier)));
}

void ShortcutSettings::setRightClickDragEnabled(bool enabled) {
    objectWillChange_.send();
    rightClickDragEnabled_.set(enabled);
    defaults_.set(rightClickDragEnabledKey, enabled);
}

void ShortcutSettings::setThreeColumnStyle(ThreeColumnStyle style) {
    objectWillChange_.send();
    threeColumnStyle_.set(style);
    defaults_.set(threeColumnStyleKey, std::string(rawValue(style)));
}

bool ShortcutSettings::isShortcutEnabled(const std::string& name) const {
    return shortcutsEnabled() && individualState(name);
}

bool ShortcutSettings::individualState(const std::string& name) const {
    auto it = individualStates_.find(name);
    return it == individualStates_.end() ? true : it->second;
}

void ShortcutSettings::setIndividualState(const std::string& name, bool enabled) {
    individualStates_[name] = enabled;
    // Only this switch is written, onto the switches as stored: another Zentaris of the same user
    // (on another display) may have switched others since this one loaded them.
    if (encodeStates({{name, enabled}})) {
        // The store may run the change again later, when `name` is long gone: it owns a copy.
        defaults_.update(
            individualStatesKey,
            [name, enabled](const std::optional<platform::DefaultsValue>& stored) {
                auto states = decodeStates(stored).value_or(std::map<std::string, bool>{});
                states[name] = enabled;
                auto data = encodeStates(states);
                return data ? std::optional<platform::DefaultsValue>(std::move(*data)) : stored;
            },
            // Another Zentaris's later switch of the same name stands; its other switches don't matter.
            [name](const std::optional<platform::DefaultsValue>& seen, const std::optional<platform::DefaultsValue>& stored) {
                return switchState(seen, name) != switchState(stored, name);
            });
    }
    notifications_.post(statesDidChangeNotification);
    objectWillChange_.send();
}

void ShortcutSettings::saveIndividualStates() {
    // Names are arbitrary text: an invalid UTF-8 name fails to encode, and then nothing is stored.
    if (auto data = encodeStates(individualStates_)) defaults_.set(individualStatesKey, std::move(*data));
    notifications_.post(statesDidChangeNotification);
}

} // namespace zentaris
