#pragma once

#include "settings/PlainButton.h"
#include "settings/SettingsTab.h"

#include <QWidget>

#include <functional>
#include <vector>

class QLabel;

namespace zentaris {

class LocalizedText;

// One page in the sidebar: its symbol and title, highlighted when it is the selected page.
class ModernSidebarItem : public PlainButton {
public:
    ModernSidebarItem(SettingsTab tab, bool isSelected, std::function<void()> action, QWidget* parent = nullptr);

    SettingsTab tab() const { return tab_; }
    bool isSelected() const { return isSelected_; }
    void setSelected(bool selected);
    QString titleText() const;

private:
    void restyle();
    void relabel();

    SettingsTab tab_;
    bool isSelected_;
    QLabel* icon_;
    LocalizedText* title_;
};

// A titled group of pages in the sidebar.
class SidebarSection : public QWidget {
public:
    SidebarSection(SettingsSidebarSection section, SettingsTab selectedTab, std::function<void(SettingsTab)> select,
                   QWidget* parent = nullptr);

    void setSelectedTab(SettingsTab tab);
    const std::vector<ModernSidebarItem*>& items() const { return items_; }
    LocalizedText* titleView() const { return title_; }

private:
    LocalizedText* title_;
    std::vector<ModernSidebarItem*> items_;
};

// The sidebar of the settings window: the product name over the two sections of pages.
class ModernSidebar : public QWidget {
public:
    ModernSidebar(SettingsTab selectedTab, std::function<void(SettingsTab)> select, QWidget* parent = nullptr);

    void setSelectedTab(SettingsTab tab);
    ModernSidebarItem* item(SettingsTab tab) const;
    const std::vector<SidebarSection*>& sections() const { return sections_; }
    LocalizedText* header() const { return header_; }

    QSize sizeHint() const override { return {220, 500}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LocalizedText* header_;
    std::vector<SidebarSection*> sections_;
};

} // namespace zentaris
