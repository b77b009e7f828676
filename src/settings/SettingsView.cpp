#include "settings/SettingsView.h"

#include "preferences/AppStyle.h"
#include "preferences/LanguageManager.h"
#include "services/UpdateService.h"
#include "settings/AboutSettingsView.h"
#include "settings/DeferredRefresh.h"
#include "settings/GeneralSettingsView.h"
#include "settings/SettingsSidebar.h"
#include "settings/SettingsWidgets.h"
#include "settings/ShortcutsSettingsView.h"
#include "views/SymbolImage.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QResizeEvent>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace zentaris {

// Holds the page that is shown; a new page slides in from the trailing edge.
class PageArea : public QWidget {
public:
    explicit PageArea(QWidget* parent = nullptr) : QWidget(parent) {
        slide_.setDuration(static_cast<int>(AppStyle::standardAnimation().duration * 1000));
        slide_.setEasingCurve(AppStyle::standardAnimation().curve);
        connect(&slide_, &QVariantAnimation::valueChanged, this, [this] { placePage(); });
    }

    QWidget* page() const { return page_; }

    void setPage(QWidget* page, bool animated) {
        slide_.stop();
        delete page_;
        page_ = page;
        page_->setParent(this);
        if (animated && isVisible()) {
            slide_.setStartValue(1.0);
            slide_.setEndValue(0.0);
            slide_.start();
        }
        placePage();
        page_->show();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        placePage();
    }

private:
    void placePage() {
        if (!page_) return;
        const double offset = slide_.state() == QAbstractAnimation::Running ? slide_.currentValue().toDouble() : 0.0;
        page_->setGeometry(static_cast<int>(offset * width()), 0, width(), height());
    }

    QPointer<QWidget> page_;
    QVariantAnimation slide_;
};

namespace {

constexpr int sidebarMinimumWidth = 180;
constexpr int sidebarIdealWidth = 220;

} // namespace

SettingsView::SettingsView(SettingsTab selectedTab, bool sidebarVisible, SupportSettingsView::Dependencies support,
                           QWidget* parent)
    : QWidget(parent), selectedTab_(selectedTab), sidebarVisible_(sidebarVisible), support_(std::move(support)) {
    setMinimumSize(700, 500);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    auto* split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->setHandleWidth(1);
    split->setStyleSheet(QStringLiteral("QSplitter::handle { background: transparent; }"));

    sidebar_ = new ModernSidebar(selectedTab_, [this](SettingsTab tab) { selectTab(tab); });
    split->addWidget(sidebar_);
    split->addWidget(detailContent());
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({sidebarIdealWidth, 600});
    sidebar_->setVisible(sidebarVisible_);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    sidebarAnimation_ = new QVariantAnimation(this);
    sidebarAnimation_->setDuration(static_cast<int>(AppStyle::standardAnimation().duration * 1000));
    sidebarAnimation_->setEasingCurve(AppStyle::standardAnimation().curve);
    connect(sidebarAnimation_, &QVariantAnimation::valueChanged, this, [split](const QVariant& value) {
        const int width = value.toInt();
        split->setSizes({width, std::max(0, split->width() - width)});
    });
    connect(sidebarAnimation_, &QVariantAnimation::finished, this, [this] {
        sidebar_->setVisible(sidebarVisible_);
        sidebar_->setMinimumWidth(sidebarMinimumWidth);
    });

    refreshOnLanguageChange(this, [this] { relabel(); });
    relabel();
}

SettingsView::~SettingsView() = default;

QWidget* SettingsView::detailContent() {
    auto* detail = new QWidget;
    detail->setMinimumWidth(450);
    auto* column = new QVBoxLayout(detail);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* bar = new QWidget;
    auto* barRow = new QHBoxLayout(bar);
    barRow->setContentsMargins(16, 8, 16, 8);
    auto* toggle = new QToolButton;
    toggle->setAutoRaise(true);
    toggle->setIcon(symbolIcon("sidebar.left", SystemColors::primaryText()));
    toggle->setIconSize(QSize(pointsToPixels(16), pointsToPixels(16)));
    connect(toggle, &QToolButton::clicked, this, [this] { toggleSidebar(); });
    sidebarToggle_ = toggle;
    barRow->addWidget(toggle);
    barRow->addStretch(1);
    column->addWidget(bar);
    column->addWidget(divider());

    pageArea_ = new PageArea;
    column->addWidget(pageArea_, 1);
    showPage(false);
    return detail;
}

QWidget* SettingsView::currentPage() const { return pageArea_->page(); }

void SettingsView::selectTab(SettingsTab tab) {
    if (tab == selectedTab_) return;
    selectedTab_ = tab;
    sidebar_->setSelectedTab(tab);
    showPage(true);
}

void SettingsView::showPage(bool animated) {
    QWidget* page = nullptr;
    switch (selectedTab_) {
    case SettingsTab::general: page = new GeneralSettingsView; break;
    case SettingsTab::shortcuts: page = new ShortcutsSettingsView; break;
    case SettingsTab::about: page = new AboutSettingsView(UpdateService::shared(), LanguageManager::shared()); break;
    case SettingsTab::support: page = new SupportSettingsView(support_); break;
    }
    pageArea_->setPage(page, animated);
}

void SettingsView::toggleSidebar() {
    sidebarVisible_ = !sidebarVisible_;
    animateSidebar(sidebarVisible_);
}

void SettingsView::animateSidebar(bool visible) {
    sidebarAnimation_->stop();
    const int current = sidebar_->isVisible() ? sidebar_->width() : 0;
    sidebar_->setMinimumWidth(0);
    sidebar_->show();
    sidebarAnimation_->setStartValue(current);
    sidebarAnimation_->setEndValue(visible ? sidebarIdealWidth : 0);
    sidebarAnimation_->start();
}

void SettingsView::relabel() {
    const auto& text = LanguageManager::shared();
    setAccessibleName(QString::fromStdString(text.localizedString("zentaris_settings_accessibility")));
    setAccessibleDescription(QString::fromStdString(text.localizedString("settings_accessibility_hint")));
    sidebarToggle_->setToolTip(QString::fromStdString(text.localizedString("toggle_sidebar")));
}

} // namespace zentaris
