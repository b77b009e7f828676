#pragma once

#include "app/ApplicationShell.h"
#include "shell/FeedbackPanel.h"
#include "shell/FloatingTutorial.h"
#include "platform/OwnWindowPlacement.h"
#include "platform/UserDefaults.h"
#include "settings/SupportSettingsView.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include <map>
#include <memory>
#include <optional>

namespace zentaris {

// The application's visible parts on Qt: the tray icon with its menu, the settings and tutorial
// windows and the feedback panels.
class QtApplicationShell : public ApplicationShell {
public:
    // `support` is what the settings window's Support page hands its messages to.
    QtApplicationShell(platform::UserDefaults& defaults, SupportSettingsView::Dependencies support);
    ~QtApplicationShell() override;

    // Tells whether translucent windows blend with what lies beneath (a compositing manager runs).
    void setTranslucencyQuery(std::function<bool()> query) { translucencyAvailable_ = std::move(query); }
    // Brings a requested window to the workspace in view; without one it is shown where it was left.
    void setOwnWindowPlacement(platform::OwnWindowPlacement* placement) { placement_ = placement; }

    void createStatusItem() override;
    bool hasStatusItem() const override { return trayIcon_ != nullptr; }
    void setStatusItemIcon(bool templateImage) override;
    void setStatusMenu(const StatusMenu& menu) override;

    void showSettingsWindow() override;
    void showOnboardingWindow() override;
    bool hasOnboardingWindow() const override { return onboardingWindow_ != nullptr; }
    void terminate() override;

    void showDragPreview(const platform::Rect& frame) override;
    void hideDragPreview() override;
    FeedbackPanelId showFeedbackPanel(const FeedbackCard& card, const platform::Rect& frame) override;
    void replaceFeedbackCard(FeedbackPanelId panel, const FeedbackCard& card) override;
    void hideFeedbackPanel(FeedbackPanelId panel) override;

    QMenu* menu() const { return menu_.get(); }
    QSystemTrayIcon* trayIcon() const { return trayIcon_.get(); }
    // Nothing until the settings window is first asked for.
    QWidget* settingsWindow() const { return settingsWindow_.get(); }

private:
    void bringToFront(QWidget* window);
    void renderPendingMenu();

    platform::UserDefaults& defaults_;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    std::unique_ptr<QMenu> menu_;
    std::optional<StatusMenu> pendingMenu_; // asked for, not built yet
    SupportSettingsView::Dependencies support_;
    std::unique_ptr<QWidget> settingsWindow_;
    std::unique_ptr<QWidget> onboardingWindow_;
    QPointer<FloatingTutorial> floatingTutorial_; // owned by the tutorial window
    platform::OwnWindowPlacement* placement_ = nullptr;
    std::function<bool()> translucencyAvailable_ = [] { return true; };
    std::unique_ptr<OverlayWindow> dragPreview_;
    std::map<FeedbackPanelId, std::unique_ptr<OverlayWindow>> feedbackPanels_;
    FeedbackPanelId nextFeedbackPanel_ = 1;
    QObject context_;
};

} // namespace zentaris
