#include "shell/QtApplicationShell.h"

#include "shell/InterfaceDirection.h"
#include "shell/RememberedWindow.h"
#include "shell/StatusIconImage.h"
#include "shell/StatusMenuRenderer.h"
#include "onboarding/OnboardingView.h"
#include "views/DragPreviewView.h"
#include "platform/Bundle.h"
#include "preferences/LanguageManager.h"
#include "settings/DeferredRefresh.h"
#include "settings/SettingsView.h"
#include "shortcuts/Registry.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace zentaris {

namespace {

constexpr const char* settingsFrameKey = "windowFrame.Settings";

QIcon applicationIcon() {
    const auto path = platform::Bundle::main().resourcePath() / "images" / "AppIcon.svg";
    return statusIconImage(QString::fromStdString(path.string()), false, QColor());
}

void centerOnScreen(QWidget* window) {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) window->move(screen->availableGeometry().center() - window->rect().center());
}

} // namespace

QtApplicationShell::QtApplicationShell(platform::UserDefaults& defaults, SupportSettingsView::Dependencies support)
    : defaults_(defaults), support_(std::move(support)) {
    followInterfaceLanguageDirection(&context_);
}

QtApplicationShell::~QtApplicationShell() = default;

void QtApplicationShell::createStatusItem() {
    trayIcon_ = std::make_unique<QSystemTrayIcon>();
    trayIcon_->setToolTip(QStringLiteral("Zentaris"));
    // We open the menu ourselves: trays that export menus over D-Bus drop custom rows.
    QObject::connect(trayIcon_.get(), &QSystemTrayIcon::activated, &context_, [this](QSystemTrayIcon::ActivationReason) {
        renderPendingMenu();
        if (!menu_) return;
        const QRect icon = trayIcon_->geometry();
        menu_->popup(icon.isValid() ? icon.bottomLeft() : QCursor::pos());
    });
}

void QtApplicationShell::setStatusItemIcon(bool templateImage) {
    if (!trayIcon_) return;
    const QColor tint = QApplication::palette().color(QPalette::WindowText);
    const auto path = platform::Bundle::main().resourcePath() / "images" / "MenuBarIcon.svg";
    const QIcon icon = statusIconImage(QString::fromStdString(path.string()), templateImage, tint);
    trayIcon_->setIcon(icon.isNull() ? fallbackGridIcon(tint) : icon);
    trayIcon_->show(); // a tray shows nothing for an item without an icon
}

void QtApplicationShell::setStatusMenu(const StatusMenu& menu) {
    if (!trayIcon_) return;
    // Start-up and a burst of settings changes each ask for a new menu: only the last is built,
    // once, when the loop next turns (or at once when the menu is opened before that).
    const bool scheduled = pendingMenu_.has_value();
    pendingMenu_ = menu;
    if (!scheduled) QTimer::singleShot(0, &context_, [this] { renderPendingMenu(); });
}

void QtApplicationShell::renderPendingMenu() {
    if (!pendingMenu_) return;
    auto fresh = renderStatusMenu(*pendingMenu_);
    pendingMenu_.reset();
    // A rebuild closes the open menu. The old one goes once its own event handling is over: the
    // rebuild may come from one of its rows.
    if (menu_) {
        menu_->hide();
        menu_.release()->deleteLater();
    }
    menu_ = std::move(fresh);
    // While our menu holds the keyboard, the shortcut module catches its chords from raw key events.
    QObject::connect(menu_.get(), &QMenu::aboutToShow, &context_, [] {
        platform::NotificationCenter::defaultCenter().post(GlobalShortcuts::menuDidBeginTrackingNotification);
    });
    QObject::connect(menu_.get(), &QMenu::aboutToHide, &context_, [] {
        platform::NotificationCenter::defaultCenter().post(GlobalShortcuts::menuDidEndTrackingNotification);
    });
}

void QtApplicationShell::bringToFront(QWidget* window) {
    // A window the user minimised stays minimised through show, raise and activation: it is
    // restored first, keeping a maximised or full-screen state.
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    // Activated on another workspace, it would stay out of sight (one never shown is not on any).
    if (placement_ && window->internalWinId()) placement_->moveToCurrentWorkspace(window->internalWinId());
    window->show();
    window->raise();
    window->activateWindow();
}

void QtApplicationShell::showSettingsWindow() {
    if (!settingsWindow_) {
        auto window = std::make_unique<RememberedWindow>(defaults_, settingsFrameKey);
        auto* frame = window.get();
        const auto retitle = [frame] {
            frame->setWindowTitle(QString::fromStdString(LanguageManager::shared().localizedString("Settings")));
        };
        retitle();
        refreshOnLanguageChange(frame, retitle);
        window->setWindowIcon(applicationIcon());
        auto* content = new QVBoxLayout(frame);
        content->setContentsMargins(0, 0, 0, 0);
        content->addWidget(new SettingsView(SettingsTab::general, true, support_));
        window->resize(800, 600);
        centerOnScreen(frame);
        window->restoreFrame();
        settingsWindow_ = std::move(window);
    }
    if (onboardingWindow_ && onboardingWindow_->isVisible() && floatingTutorial_) floatingTutorial_->giveWayTo(settingsWindow_.get());
    bringToFront(settingsWindow_.get());
}

void QtApplicationShell::showOnboardingWindow() {
    if (!onboardingWindow_) {
        // The window lives on when closed: the next request shows the same tutorial and page.
        auto window = std::make_unique<OnboardingView>();
        floatingTutorial_ = new FloatingTutorial(window.get());
        window->setWindowTitle(QStringLiteral("Zentaris Onboarding"));
        window->setWindowIcon(applicationIcon());
        // The pages are laid out for the view's 900 by 750; a smaller screen gets scroll bars.
        QSize size = window->sizeHint().expandedTo(QSize(700, 650));
        if (const QScreen* screen = QGuiApplication::primaryScreen()) size = size.boundedTo(screen->availableGeometry().size());
        window->resize(size);
        centerOnScreen(window.get());
        onboardingWindow_ = std::move(window);
    }
    if (floatingTutorial_) floatingTutorial_->floatAgain();
    bringToFront(onboardingWindow_.get());
}

void QtApplicationShell::terminate() { QCoreApplication::quit(); }

void QtApplicationShell::showDragPreview(const platform::Rect& frame) {
    if (!dragPreview_) {
        dragPreview_ = std::make_unique<OverlayWindow>();
        dragPreview_->setContentIsStill(true);
        dragPreview_->setTranslucencyAvailable(translucencyAvailable_());
        dragPreview_->setContent(std::make_unique<DragPreviewView>());
    }
    dragPreview_->placeAt(frame);
    dragPreview_->show();
    // The window manager may have stacked the dragged window above it.
    dragPreview_->raise();
}

void QtApplicationShell::hideDragPreview() { dragPreview_.reset(); }

FeedbackPanelId QtApplicationShell::showFeedbackPanel(const FeedbackCard& card, const platform::Rect& frame) {
    auto panel = std::make_unique<OverlayWindow>();
    panel->setTranslucencyAvailable(translucencyAvailable_());
    panel->placeCentredOn(frame);
    panel->setContent(makeFeedbackCardView(card));
    panel->show();
    panel->raise();
    const auto id = nextFeedbackPanel_++;
    feedbackPanels_[id] = std::move(panel);
    return id;
}

void QtApplicationShell::replaceFeedbackCard(FeedbackPanelId panel, const FeedbackCard& card) {
    auto found = feedbackPanels_.find(panel);
    if (found != feedbackPanels_.end()) found->second->setContent(makeFeedbackCardView(card));
}

void QtApplicationShell::hideFeedbackPanel(FeedbackPanelId panel) { feedbackPanels_.erase(panel); }

} // namespace zentaris
