#include "settings/SettingsTab.h"

namespace zentaris {

std::string title(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general: return "General";
    case SettingsTab::shortcuts: return "Shortcuts";
    case SettingsTab::about: return "About";
    case SettingsTab::support: return "Support";
    }
    return "General";
}

std::string icon(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general: return "gear";
    case SettingsTab::shortcuts: return "keyboard";
    case SettingsTab::about: return "info.circle";
    case SettingsTab::support: return "questionmark.circle";
    }
    return "gear";
}

std::string title(SettingsSidebarSection section) {
    return section == SettingsSidebarSection::settings ? "settings_section" : "information_section";
}

std::array<SettingsTab, 2> tabs(SettingsSidebarSection section) {
    if (section == SettingsSidebarSection::settings) return {SettingsTab::general, SettingsTab::shortcuts};
    return {SettingsTab::about, SettingsTab::support};
}

} // namespace zentaris
