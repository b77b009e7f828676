#include "preferences/ShortcutSettings.h"

#include <nlohmann/json.hpp>

#include <memory>

namespace zentaris {

namespace {
std::unique_ptr<ShortcutSettings>& sharedInstance() {
    static std::unique_ptr<ShortcutSettings> instance;
    return instance;
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
        defaults_.set(dragModeModifierKey, std::string(rawValue(DragModeModifier::command)));
    } else if (storedModifier) {
        dragModeModifier_.setQuietly(dragModeModifierFromRaw(*storedModifier).value_or(DragModeModifier::command));
    }

    rightClickDragEnabled_.setQuietly(defaults_.boolValue(rightClickDragEnabledKey).value_or(true));

    if (auto style = defaults_.stringValue(threeColumnStyleKey)) {
        threeColumnStyle_.setQuietly(threeColumnStyleFromRaw(*style).value_or(ThreeColumnStyle::balanced));
    }

    if (auto data = defaults_.dataValue(individualStatesKey)) {
        const auto document = nlohmann::json::parse(data->toString(), nullptr, /*allow_exceptions=*/false);
        if (document.is_object()) {
            std::map<std::string, bool> states;
            bool valid = true;
            for (const auto& [name, state] : document.items()) {
                if (!state.is_boolean()) {
                    valid = false;
                    break;
                }
                states[name] = state.get<bool>();
            }
            if (valid) individualStates_ = std::move(states);
        }
    }
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
    saveIndividualStates();
    objectWillChange_.send();
}

void ShortcutSettings::saveIndividualStates() {
    nlohmann::json document = nlohmann::json::object();
    for (const auto& [name, state] : individualStates_) document[name] = state;
    // Names are arbitrary text: an invalid UTF-8 name fails to encode, and then nothing is stored.
    try {
        defaults_.set(individualStatesKey, platform::Data::fromString(document.dump()));
    } catch (const nlohmann::json::exception&) {
    }
    notifications_.post(statesDidChangeNotification);
}

} // namespace zentaris
