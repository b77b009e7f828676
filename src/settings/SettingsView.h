#pragma once

#include "settings/SettingsTab.h"
#include "settings/SupportSettingsView.h"

#include <QWidget>

class QAbstractButton;
class QVariantAnimation;

namespace zentaris {

class ModernSidebar;
class PageArea;

// The content of the settings window: the sidebar of pages beside the selected page, under a
// slim bar with the button that shows and hides the sidebar.
class SettingsView : public QWidget {
public:
    SettingsView(SettingsTab selectedTab, bool sidebarVisible, SupportSettingsView::Dependencies support,
                 QWidget* parent = nullptr);
    ~SettingsView() override;

    SettingsTab selectedTab() const { return selectedTab_; }
    // Shows the page of `tab`; choosing the page already shown changes nothing.
    void selectTab(SettingsTab tab);
    bool isSidebarVisible() const { return sidebarVisible_; }
    void toggleSidebar();

    ModernSidebar* sidebar() const { return sidebar_; }
    QAbstractButton* sidebarToggle() const { return sidebarToggle_; }
    QWidget* currentPage() const;

    QSize sizeHint() const override { return {850, 650}; }

private:
    QWidget* detailContent();
    void showPage(bool animated);
    void relabel();
    void animateSidebar(bool visible);

    SettingsTab selectedTab_;
    bool sidebarVisible_;
    SupportSettingsView::Dependencies support_;
    ModernSidebar* sidebar_ = nullptr;
    QAbstractButton* sidebarToggle_ = nullptr;
    PageArea* pageArea_ = nullptr;
    QVariantAnimation* sidebarAnimation_ = nullptr;
};

} // namespace zentaris
