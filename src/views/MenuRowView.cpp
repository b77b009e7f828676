#include "views/MenuRowView.h"

#include "views/SymbolImage.h"

#include <QMouseEvent>
#include <QPainterPath>

namespace zentaris {

MenuRowView::MenuRowView(int width, int height, QWidget* parent) : QWidget(parent) {
    setFixedSize(width, height);
    // The menu keeps the keyboard: arrows, Return and Escape go to it, not to the row.
    setFocusPolicy(Qt::NoFocus);
    // Qt drops pointer moves over a widget that does not track them; the menu needs them to
    // highlight the row under the pointer, so the row takes them and passes them on.
    setMouseTracking(true);
}

void MenuRowView::mouseMoveEvent(QMouseEvent* event) { event->ignore(); }

void MenuRowView::setHovered(bool hovered) {
    if (hovered == hovered_) return;
    hovered_ = hovered;
    hoverChanged();
    update();
}

QFont MenuRowView::systemFont(int pointSize, QFont::Weight weight) {
    QFont font;
    font.setPixelSize(pointSize);
    font.setWeight(weight);
    return font;
}

void MenuRowView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressed_ = true;
    event->accept();
}

void MenuRowView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        event->ignore();
        return;
    }
    pressed_ = false;
    event->accept();
    // The whole rectangle is the hit area, margins included.
    if (rect().contains(event->position().toPoint()) && onClick_) onClick_();
}

void MenuRowView::prepare(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

void MenuRowView::fillBackground(QPainter& painter, double cornerRadius, const QColor& color) const {
    QPainterPath background;
    background.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(background, color);
}

QRectF MenuRowView::visual(const QRectF& logical) const {
    if (!isRightToLeft()) return logical;
    return QRectF(width() - logical.right(), logical.top(), logical.width(), logical.height());
}

void MenuRowView::drawSymbol(QPainter& painter, TintedSymbol& symbol, const QRectF& logicalBox, const QColor& color) const {
    const QPixmap& pixmap = symbol.pixmap(color, devicePixelRatioF());
    if (pixmap.isNull()) return;
    const QSizeF size = pixmap.deviceIndependentSize();
    const QRectF box = visual(logicalBox);
    painter.drawPixmap(QPointF(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2), pixmap);
}

// The painter mirrors the alignment itself in a right-to-left interface.
void MenuRowView::drawText(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                           const QColor& color, Qt::Alignment horizontal) const {
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(visual(rect), horizontal | Qt::AlignVCenter, text);
}

void MenuRowView::drawCaption(QPainter& painter, const QRectF& rect, const QString& caption, const QFont& font,
                              const QColor& color) const {
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(visual(rect), Qt::AlignRight | Qt::AlignVCenter | Qt::TextForceLeftToRight, caption);
}

void TintedSymbol::setName(std::string name) {
    if (name == name_) return;
    name_ = std::move(name);
    pixmap_ = {};
}

const QPixmap& TintedSymbol::pixmap(const QColor& color, qreal devicePixelRatio) {
    if (color != color_ || devicePixelRatio != devicePixelRatio_) {
        pixmap_ = symbolPixmap(name_, side_, color, devicePixelRatio);
        color_ = color;
        devicePixelRatio_ = devicePixelRatio;
    }
    return pixmap_;
}

QString captionText(const std::optional<std::string>& caption) {
    return caption ? QString::fromStdString(*caption) : QString();
}

} // namespace zentaris
