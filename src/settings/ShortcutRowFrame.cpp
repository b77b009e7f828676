#include "settings/ShortcutRowFrame.h"

#include "preferences/AppStyle.h"
#include "settings/SettingsWidgets.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace zentaris {

ShortcutRowFrame::ShortcutRowFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_Hover, true);
    layout_ = new QHBoxLayout(this);
    layout_->setContentsMargins(16, 8, 16, 8);
    layout_->setSpacing(12);
    tint_.setDuration(static_cast<int>(AppStyle::quickAnimation().duration * 1000));
    tint_.setEasingCurve(AppStyle::quickAnimation().curve);
    tint_.setStartValue(0.0);
    tint_.setEndValue(1.0);
    connect(&tint_, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

void ShortcutRowFrame::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    setHovered(true);
}

void ShortcutRowFrame::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    setHovered(false);
}

void ShortcutRowFrame::setHovered(bool hovered) {
    if (hovered == isHovered_) return;
    isHovered_ = hovered;
    tint_.setDirection(hovered ? QAbstractAnimation::Forward : QAbstractAnimation::Backward);
    if (tint_.state() != QAbstractAnimation::Running) tint_.start();
    update();
}

void ShortcutRowFrame::paintEvent(QPaintEvent*) {
    const double amount = tint_.state() == QAbstractAnimation::Running ? tint_.currentValue().toDouble()
                                                                       : (isHovered_ ? 1.0 : 0.0);
    if (amount <= 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 6, 6);
    painter.fillPath(path, withOpacity(AppStyle::accentTintColor(), amount));
}

} // namespace zentaris
