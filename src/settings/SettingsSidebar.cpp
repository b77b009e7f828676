#include "settings/SettingsSidebar.h"

#include "preferences/AppStyle.h"
#include "settings/DeferredRefresh.h"
#include "settings/SettingsWidgets.h"

#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QVBoxLayout>

namespace zentaris {

namespace {

void paintSelectedBackground(QPainter& painter, const QRectF& bounds) {
    const QColor accent = SystemColors::accent();
    // The accent shadow below the highlight, softened by a few widening layers.
    painter.setPen(Qt::NoPen);
    for (int layer = 4; layer >= 1; --layer) {
        const double spread = layer;
        painter.setBrush(withOpacity(accent, 0.3 / 4));
        painter.drawRoundedRect(bounds.translated(0, 2).adjusted(-spread / 2, -spread / 2, spread / 2, spread / 2),
                                AppStyle::cardCornerRadius + spread / 2, AppStyle::cardCornerRadius + spread / 2);
    }
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomRight());
    gradient.setColorAt(0, accent);
    gradient.setColorAt(1, withOpacity(accent, 0.8));
    painter.setBrush(gradient);
    painter.drawRoundedRect(bounds, AppStyle::cardCornerRadius, AppStyle::cardCornerRadius);
    // The selection dot at the trailing end.
    const QPointF dot(bounds.right() - 12 - 3, bounds.center().y());
    painter.setBrush(withOpacity(Qt::white, 0.8));
    painter.drawEllipse(dot, 3, 3);
}

} // namespace

ModernSidebarItem::ModernSidebarItem(SettingsTab tab, bool isSelected, std::function<void()> action, QWidget* parent)
    : PlainButton(parent), tab_(tab), isSelected_(isSelected) {
    auto* row = new QHBoxLayout(this);
    // 8 outside the highlight, then 12 inside it.
    row->setContentsMargins(8 + 12, 8, 8 + 12, 8);
    row->setSpacing(12);
    icon_ = symbolView(zentaris::icon(tab), 15, SystemColors::secondaryText(), 20);
    icon_->setFixedSize(pointsToPixels(20), pointsToPixels(20));
    title_ = new LocalizedText(title(tab), AppStyle::bodyFont());
    row->addWidget(icon_);
    row->addWidget(title_);
    row->addStretch(1);
    row->addSpacing(6);

    setBackgroundPainter([this](QPainter& painter, const QRectF& bounds, bool hovered) {
        const QRectF highlight = bounds.adjusted(8, 0, -8, 0);
        if (isSelected_) {
            paintSelectedBackground(painter, highlight);
        } else if (hovered) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(AppStyle::accentTintColor());
            painter.drawRoundedRect(highlight, AppStyle::cardCornerRadius, AppStyle::cardCornerRadius);
        }
    });
    setHoverHandler([this](bool) { restyle(); });
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    restyle();
    relabel();
    refreshOnLanguageChange(this, [this] { relabel(); });
}

void ModernSidebarItem::setSelected(bool selected) {
    if (isSelected_ == selected) return;
    isSelected_ = selected;
    restyle();
}

QString ModernSidebarItem::titleText() const { return title_->text(); }

void ModernSidebarItem::restyle() {
    const QColor iconColor = isSelected_ ? QColor(Qt::white)
                             : isHovered() ? SystemColors::accent()
                                           : SystemColors::secondaryText();
    setSymbol(icon_, zentaris::icon(tab_), 15, iconColor);
    title_->setFont(withWeight(AppStyle::bodyFont(), isSelected_ ? QFont::DemiBold : QFont::Normal));
    setTextColor(title_, isSelected_ ? QColor(Qt::white) : SystemColors::primaryText());
    update();
}

void ModernSidebarItem::relabel() {
    title_->relabel();
    setAccessibleName(title_->text());
    setAccessibleDescription(QStringLiteral("Select %1 settings").arg(title_->text()));
}

SidebarSection::SidebarSection(SettingsSidebarSection section, SettingsTab selectedTab,
                               std::function<void(SettingsTab)> select, QWidget* parent)
    : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    title_ = new LocalizedText(title(section), AppStyle::badgeFont(), SystemColors::secondaryText());
    title_->setTransform([](const QString& text) { return text.toUpper(); });
    title_->setContentsMargins(16, 0, 16, 4);
    column->addWidget(title_);
    for (SettingsTab tab : tabs(section)) {
        auto* item = new ModernSidebarItem(tab, tab == selectedTab, [select, tab] { select(tab); });
        column->addWidget(item);
        items_.push_back(item);
    }
}

void SidebarSection::setSelectedTab(SettingsTab tab) {
    for (auto* item : items_) item->setSelected(item->tab() == tab);
}

ModernSidebar::ModernSidebar(SettingsTab selectedTab, std::function<void(SettingsTab)> select, QWidget* parent)
    : QWidget(parent) {
    setMinimumWidth(180);
    setMaximumWidth(280);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 1, 0);
    column->setSpacing(0);

    header_ = new LocalizedText("zentaris_name", withWeight(AppStyle::headlineFont(), QFont::Bold));
    header_->setContentsMargins(16, 24, 16, 16);
    // A label aligns a Latin-only name to the left even in a right-to-left interface; the layout
    // puts it at the leading edge instead.
    column->addWidget(header_, 0, Qt::AlignLeft);

    auto* list = new QWidget;
    auto* sections = new QVBoxLayout(list);
    sections->setContentsMargins(8, 0, 8, 0);
    sections->setSpacing(24);
    for (auto section : allSettingsSidebarSections) {
        auto* view = new SidebarSection(section, selectedTab, select);
        sections->addWidget(view);
        sections_.push_back(view);
    }
    sections->addStretch(1);

    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(list);
    // Transparent, so the sidebar's own translucent background shows through.
    scroll->viewport()->setAutoFillBackground(false);
    list->setAutoFillBackground(false);
    column->addWidget(scroll, 1);
}

void ModernSidebar::setSelectedTab(SettingsTab tab) {
    for (auto* section : sections_) section->setSelectedTab(tab);
}

ModernSidebarItem* ModernSidebar::item(SettingsTab tab) const {
    for (auto* section : sections_) {
        for (auto* item : section->items()) {
            if (item->tab() == tab) return item;
        }
    }
    return nullptr;
}

void ModernSidebar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), AppStyle::windowBackgroundColor());
    painter.fillRect(QRect(width() - 1, 0, 1, height()), SystemColors::separator());
}

} // namespace zentaris
