#pragma once

#include "settings/ShortcutRowFrame.h"
#include "shortcuts/Name.h"

#include <string>

class QLabel;

namespace zentaris {

// The row of a quarter position: no recorder and no switch, only the fixed pair of arrow
// shortcuts that reaches the quarter when pressed together.
class QuarterShortcutRow : public ShortcutRowFrame {
public:
    QuarterShortcutRow(std::string labelKey, GlobalShortcuts::Name shortcutName, QWidget* parent = nullptr);

    static std::string quarterIcon(const GlobalShortcuts::Name& name);
    static std::string shortcutHint(const GlobalShortcuts::Name& name);

    QLabel* hintBadge() const { return hint_; }

private:
    QLabel* hint_ = nullptr;
};

} // namespace zentaris
