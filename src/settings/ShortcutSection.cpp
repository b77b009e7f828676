#include "settings/ShortcutSection.h"

#include "app/ShortcutNames.h"

namespace zentaris {

std::string title(ShortcutSection section) {
    switch (section) {
    case ShortcutSection::instructions: return "usage_instructions_header";
    case ShortcutSection::appControls: return "app_controls_header";
    case ShortcutSection::coreLayout: return "core_layout_actions_header";
    case ShortcutSection::quarterLayout: return "quarter_layouts_header";
    case ShortcutSection::multiWindow: return "multi_window_layouts_header";
    case ShortcutSection::multiScreen: return "multi_screen_management_header";
    }
    return "usage_instructions_header";
}

std::string icon(ShortcutSection section) {
    switch (section) {
    case ShortcutSection::instructions: return "questionmark.circle.fill";
    case ShortcutSection::appControls: return "hand.raised.fill";
    case ShortcutSection::coreLayout: return "rectangle.grid.2x2.fill";
    case ShortcutSection::quarterLayout: return "square.grid.2x2.fill";
    case ShortcutSection::multiWindow: return "rectangle.3.group.fill";
    case ShortcutSection::multiScreen: return "display.2";
    }
    return "questionmark.circle.fill";
}

std::string iconColorName(ShortcutSection section) {
    switch (section) {
    case ShortcutSection::instructions: return "blue";
    case ShortcutSection::appControls: return "purple";
    case ShortcutSection::coreLayout: return "blue";
    case ShortcutSection::quarterLayout: return "green";
    case ShortcutSection::multiWindow: return "orange";
    case ShortcutSection::multiScreen: return "indigo";
    }
    return "blue";
}

std::vector<ShortcutDefinition> shortcuts(ShortcutSection section) {
    namespace names = ShortcutNames;
    switch (section) {
    case ShortcutSection::instructions: return {};
    case ShortcutSection::appControls: return {{"toggle_drag_mode", names::toggleDragMode()}};
    case ShortcutSection::coreLayout:
        return {{"left_positioning", names::leftColumn()},     {"right_positioning", names::rightColumn()},
                {"top_positioning", names::upColumn()},        {"bottom_positioning", names::downColumn()},
                {"center_positioning", names::centerColumn()}, {"fullscreen", names::fullscreen()}};
    case ShortcutSection::quarterLayout:
        return {{"top_left_quarter", names::topLeftQuarter()},
                {"top_right_quarter", names::topRightQuarter()},
                {"bottom_left_quarter", names::bottomLeftQuarter()},
                {"bottom_right_quarter", names::bottomRightQuarter()}};
    case ShortcutSection::multiWindow:
        return {{"vertical_split_layout", names::splitVertical()},
                {"horizontal_split_layout", names::splitHorizontal()},
                {"split_7030", names::split7030()},
                {"split_3070", names::split3070()},
                {"three_column_layout", names::threeColumns()},
                {"three_window_layout_top", names::threeWindowTop()},
                {"three_window_layout_bottom", names::threeWindowBottom()},
                {"three_window_layout_left", names::threeWindowLeft()},
                {"three_window_layout_right", names::threeWindowRight()},
                {"quartet_layout", names::quartetMode()}};
    case ShortcutSection::multiScreen:
        return {{"move_next_screen", names::moveToNextScreen()},
                {"move_previous_screen", names::moveToPreviousScreen()},
                {"swap_next_screen", names::swapWithNextScreen()},
                {"swap_previous_screen", names::swapWithPreviousScreen()}};
    }
    return {};
}

} // namespace zentaris
