#pragma once

#include <QWidget>

namespace zentaris {

// The Shortcuts page of the settings window.
class ShortcutsSettingsView : public QWidget {
public:
    explicit ShortcutsSettingsView(QWidget* parent = nullptr);
};

}  // namespace zentaris
