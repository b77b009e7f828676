#include "settings/PlainButton.h"

#include <QLayout>
#include <QPainter>

namespace zentaris {

PlainButton::PlainButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover, true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    // Grows with a label that wraps onto more lines.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void PlainButton::setBackgroundPainter(BackgroundPainter painter) {
    backgroundPainter_ = std::move(painter);
    update();
}

QSize PlainButton::sizeHint() const { return layout() ? layout()->sizeHint() : QSize(20, 20); }

QSize PlainButton::minimumSizeHint() const { return layout() ? layout()->minimumSize() : QSize(0, 0); }

void PlainButton::paintEvent(QPaintEvent*) {
    if (!backgroundPainter_) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    backgroundPainter_(painter, QRectF(rect()), hovered_);
}

void PlainButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    setHovered(true);
}

void PlainButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    setHovered(false);
}

void PlainButton::setHovered(bool hovered) {
    if (hovered_ == hovered) return;
    hovered_ = hovered;
    if (hoverHandler_) hoverHandler_(hovered);
    update();
}

} // namespace zentaris
