#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zentaris {

// The status menu as plain data: built whole by the controller, drawn by the shell.
struct StatusMenuItem {
    enum class Kind {
        header,     // a disabled section title
        separator,
        layoutRow,  // a layout picture with its title, caption and submenu
        slotRow,    // a row of a layout submenu or the screen submenu
        dragModeRow,
        submenu,    // a plain titled item that opens `children`
        action,     // a plain titled item
    };

    Kind kind = Kind::action;
    std::string identifier;
    std::string title;
    // A symbol name of the drawn icon set ("rectangle.split.2x1", "gearshape", ...).
    std::string symbol;
    // What the symbol means, for assistive technology (plain items only).
    std::string accessibilityDescription;
    // The shortcut caption shown at the right edge, if any.
    std::optional<std::string> caption;
    // The layout a layout row pictures (its raw value).
    std::optional<int> layout;
    // The screen index a row of the screen submenu stands for.
    std::optional<int> tag;
    bool enabled = true;
    // For the drag-mode row.
    bool isOn = false;
    // The fixed size of a drawn row (layout, slot and drag-mode rows); zero for plain items.
    double width = 0;
    double height = 0;
    std::function<void()> action;
    std::vector<StatusMenuItem> children;
};

struct StatusMenu {
    double minimumWidth = 320;
    std::vector<StatusMenuItem> items;
};

} // namespace zentaris
