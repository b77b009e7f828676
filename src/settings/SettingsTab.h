#pragma once

#include <array>
#include <string>

namespace zentaris {

// The pages of the settings window, in sidebar order.
enum class SettingsTab { general, shortcuts, about, support };

constexpr std::array<SettingsTab, 4> allSettingsTabs{SettingsTab::general, SettingsTab::shortcuts, SettingsTab::about,
                                                     SettingsTab::support};

// The localisation key of the page's title.
std::string title(SettingsTab tab);
// The symbol shown beside the title.
std::string icon(SettingsTab tab);

// The titled groups of the sidebar.
enum class SettingsSidebarSection { settings, information };

constexpr std::array<SettingsSidebarSection, 2> allSettingsSidebarSections{SettingsSidebarSection::settings,
                                                                           SettingsSidebarSection::information};

std::string title(SettingsSidebarSection section);
std::array<SettingsTab, 2> tabs(SettingsSidebarSection section);

} // namespace zentaris
