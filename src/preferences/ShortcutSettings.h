#pragma once

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "preferences/Observable.h"
#include "preferences/SettingsTypes.h"

#include <map>
#include <string>

namespace zentaris {

// The shared settings for shortcuts and dragging. Loaded once; every assignment is written
// straight back to the user defaults.
class ShortcutSettings {
public:
    static constexpr const char* shortcutsEnabledKey = "shortcutsGloballyEnabled";
    static constexpr const char* dragModeModifierKey = "dragModeModifier";
    static constexpr const char* rightClickDragEnabledKey = "rightClickDragEnabled";
    static constexpr const char* threeColumnStyleKey = "threeColumnStyle";
    static constexpr const char* individualStatesKey = "individualShortcutStates";
    static constexpr const char* statesDidChangeNotification = "ShortcutStatesDidChange";

    ShortcutSettings(platform::UserDefaults& defaults, platform::NotificationCenter& notifications);

    // The process-wide instance, created on first use over the standard defaults and default centre.
    static ShortcutSettings& shared();
    // Drops the shared instance so the next use loads afresh (tests only).
    static void resetShared();

    bool shortcutsEnabled() const { return shortcutsEnabled_.value(); }
    void setShortcutsEnabled(bool enabled);
    DragModeModifier dragModeModifier() const { return dragModeModifier_.value(); }
    void setDragModeModifier(DragModeModifier modifier);
    bool rightClickDragEnabled() const { return rightClickDragEnabled_.value(); }
    void setRightClickDragEnabled(bool enabled);
    ThreeColumnStyle threeColumnStyle() const { return threeColumnStyle_.value(); }
    void setThreeColumnStyle(ThreeColumnStyle style);

    Published<bool>& shortcutsEnabledPublisher() { return shortcutsEnabled_; }
    Published<DragModeModifier>& dragModeModifierPublisher() { return dragModeModifier_; }
    Published<bool>& rightClickDragEnabledPublisher() { return rightClickDragEnabled_; }
    Published<ThreeColumnStyle>& threeColumnStylePublisher() { return threeColumnStyle_; }
    // Fires before any change of the settings, individual states included.
    Signal<>& objectWillChange() { return objectWillChange_; }

    const std::map<std::string, bool>& individualStates() const { return individualStates_; }
    // On when shortcuts are on globally and this one is not switched off.
    bool isShortcutEnabled(const std::string& name) const;
    // The switch of one shortcut by its name; a name never switched counts as on.
    bool individualState(const std::string& name) const;
    // Switches one shortcut and announces it; only its entry is written onto the stored switches.
    void setIndividualState(const std::string& name, bool enabled);
    // Persists all the individual switches as this object holds them and announces them.
    void saveIndividualStates();

private:
    void load();

    platform::UserDefaults& defaults_;
    platform::NotificationCenter& notifications_;
    Signal<> objectWillChange_;
    Published<bool> shortcutsEnabled_{true};
    Published<DragModeModifier> dragModeModifier_{DragModeModifier::command};
    Published<bool> rightClickDragEnabled_{true};
    Published<ThreeColumnStyle> threeColumnStyle_{ThreeColumnStyle::balanced};
    std::map<std::string, bool> individualStates_;
};

} // namespace zentaris
