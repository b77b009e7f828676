#pragma once

#include <QColor>
#include <QWidget>

#include <functional>
#include <string>

namespace zentaris {

class LocalizedText;
class SwitchToggle;

// A labelled switch: a coloured symbol, a title over a wrapping description, and the switch.
class ModernToggleRow : public QWidget {
public:
    ModernToggleRow(const std::string& icon, const QColor& iconColor, const std::string& title,
                    const std::string& description, std::function<void(bool)> onToggle, QWidget* parent = nullptr);

    bool isOn() const;
    // Shows a value without reporting it as a change.
    void setOn(bool on);
    SwitchToggle* toggle() const { return toggle_; }
    LocalizedText* titleView() const { return title_; }

private:
    SwitchToggle* toggle_;
    LocalizedText* title_;
};

} // namespace zentaris
