#include "settings/CollapsibleCard.h"

#include "preferences/AppStyle.h"
#include "settings/PlainButton.h"
#include "settings/SettingsWidgets.h"
#include "views/SymbolImage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace zentaris {

namespace {
constexpr int chevronSide = 12;
}

CollapsibleCard::CollapsibleCard(std::string title, std::string icon, QColor iconColor, bool isExpanded,
                                 std::function<void()> onToggle, QWidget* content, QWidget* parent)
    : QFrame(parent), isExpanded_(isExpanded), onToggle_(std::move(onToggle)), content_(content) {
    setObjectName(QStringLiteral("collapsibleCard"));
    AppStyle::applyCardStyle(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    header_ = new PlainButton(this);
    header_->setFocusPolicy(Qt::NoFocus);
    auto* row = new QHBoxLayout(header_);
    row->setContentsMargins(16, 16, 16, 16);
    row->setSpacing(12);
    row->addWidget(symbolView(icon, 16, iconColor, 20));
    row->addWidget(new LocalizedText(std::move(title), AppStyle::sectionTitleFont()));
    row->addStretch(1);
    chevron_ = new QLabel(header_);
    chevron_->setFixedSize(chevronSide + 4, chevronSide + 4);
    chevron_->setAlignment(Qt::AlignCenter);
    row->addWidget(chevron_);
    connect(header_, &QAbstractButton::clicked, this, [this] {
        if (onToggle_) onToggle_();
    });
    column->addWidget(header_);

    if (content_) {
        content_->setParent(this);
        column->addWidget(content_);
        content_->setVisible(isExpanded_);
    }

    // The spring of the pages, approximated by an ease-out with a little overshoot.
    chevronTurn_.setDuration(static_cast<int>(AppStyle::springAnimation().response * 1000));
    chevronTurn_.setEasingCurve(QEasingCurve::OutBack);
    connect(&chevronTurn_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& angle) { drawChevron(angle.toDouble()); });
    drawChevron(chevronAngle());
}

void CollapsibleCard::setExpanded(bool expanded) {
    if (expanded == isExpanded_) return;
    isExpanded_ = expanded;
    if (content_) content_->setVisible(expanded);
    if (isVisible()) {
        chevronTurn_.stop();
        chevronTurn_.setStartValue(expanded ? 0.0 : 90.0);
        chevronTurn_.setEndValue(chevronAngle());
        chevronTurn_.start();
    } else {
        drawChevron(chevronAngle());
    }
}

void CollapsibleCard::drawChevron(double angle) {
    const qreal ratio = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    const QPixmap symbol = symbolPixmap("chevron.right", chevronSide, SystemColors::secondaryText(), ratio);
    const int side = chevron_->width();
    QPixmap turned(QSize(side, side) * ratio);
    turned.setDevicePixelRatio(ratio);
    turned.fill(Qt::transparent);
    QPainter painter(&turned);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(side / 2.0, side / 2.0);
    painter.rotate(angle);
    painter.drawPixmap(QPointF(-chevronSide / 2.0, -chevronSide / 2.0), symbol);
    painter.end();
    chevron_->setPixmap(turned);
}

} // namespace zentaris
