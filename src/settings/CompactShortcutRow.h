#pragma once

#include "platform/ObservationToken.h"
#include "settings/ShortcutRowFrame.h"
#include "shortcuts/Name.h"

#include <string>
#include <vector>

namespace zentaris {

class LocalizedShortcutRecorder;
class ShortcutSettings;
class SwitchToggle;

// The row of one editable shortcut: its on/off switch, its label and its recorder button.
class CompactShortcutRow : public ShortcutRowFrame {
public:
    CompactShortcutRow(std::string labelKey, GlobalShortcuts::Name shortcutName, ShortcutSettings& shortcutSettings,
                       QWidget* parent = nullptr);

    const GlobalShortcuts::Name& shortcutName() const { return shortcutName_; }
    // The row's switch: this shortcut's own entry, on when it has none.
    bool isShortcutEnabled() const;
    void setShortcutEnabled(bool enabled);

    SwitchToggle* shortcutSwitch() const { return switch_; }
    LocalizedShortcutRecorder* recorder() const { return recorder_; }

private:
    void refresh();

    std::string labelKey_;
    GlobalShortcuts::Name shortcutName_;
    ShortcutSettings& shortcutSettings_;
    SwitchToggle* switch_ = nullptr;
    LocalizedShortcutRecorder* recorder_ = nullptr;
    std::vector<platform::ObservationToken> observers_;
};

} // namespace zentaris
