#include "views/InlineLayoutViewContainer.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace zentaris {

namespace {

constexpr double horizontalInset = 10, verticalInset = 3, spacing = 10;
constexpr double symbolBox = 18, captionTrailing = 4;
constexpr double previewWidth = 80, previewHeight = 24;
constexpr int symbolPoints = 15, titlePoints = 13, captionPoints = 11;

QFont titleFont() { return MenuRowView::systemFont(titlePoints, QFont::Medium); }
QFont captionFont() { return MenuRowView::systemFont(captionPoints); }

} // namespace

InlineLayoutViewContainer::InlineLayoutViewContainer(std::string title, LayoutType layout,
                                                     std::optional<std::string> shortcut, QWidget* parent)
    : MenuRowView(rowWidth, rowHeight, parent), title_(QString::fromStdString(title)), caption_(captionText(shortcut)),
      symbol_(std::string(symbolName(layout)), symbolPoints + 3), preview_(layout, previewWidth, previewHeight) {
    setAccessibleName(title_);
    clock_.start();
    frames_.setInterval(16);
    QObject::connect(&frames_, &QTimer::timeout, this, [this] { animate(); });
}

InlineLayoutViewContainer::Parts InlineLayoutViewContainer::parts() const {
    const QRectF content = QRectF(rect()).adjusted(horizontalInset, verticalInset, -horizontalInset, -verticalInset);
    const double middle = content.center().y();
    Parts parts;
    parts.symbol = QRectF(content.left(), middle - symbolBox / 2, symbolBox, symbolBox);
    parts.preview = QRectF(content.right() - previewWidth, middle - previewHeight / 2, previewWidth, previewHeight);
    double titleEnd = parts.preview.left() - spacing;
    if (!caption_.isEmpty()) {
        const QFontMetricsF metrics(captionFont());
        const double width = metrics.horizontalAdvance(caption_);
        const double right = parts.preview.left() - spacing - captionTrailing;
        parts.caption = QRectF(right - width, middle - metrics.height() / 2, width, metrics.height());
        titleEnd = parts.caption->left() - spacing;
    }
    const QFontMetricsF metrics(titleFont());
    const double titleLeft = parts.symbol.right() + spacing;
    parts.title = QRectF(titleLeft, middle - metrics.height() / 2, std::max(0.0, titleEnd - titleLeft), metrics.height());
    return parts;
}

QString InlineLayoutViewContainer::shownTitle() const {
    return QFontMetricsF(titleFont()).elidedText(title_, Qt::ElideRight, parts().title.width());
}

void InlineLayoutViewContainer::hoverChanged() {
    preview_.setParentHovered(isHovered(), now());
    animate();
}

void InlineLayoutViewContainer::mouseMoveEvent(QMouseEvent* event) {
    const bool over = visual(parts().preview).contains(event->position());
    if (over != preview_.isLocallyHovered()) {
        preview_.setLocallyHovered(over, now());
        animate();
    }
    MenuRowView::mouseMoveEvent(event);
}

void InlineLayoutViewContainer::leaveEvent(QEvent* event) {
    if (preview_.isLocallyHovered()) {
        preview_.setLocallyHovered(false, now());
        animate();
    }
    MenuRowView::leaveEvent(event);
}

void InlineLayoutViewContainer::animate() {
    update();
    if (preview_.isAnimating(now())) {
        if (!frames_.isActive()) frames_.start();
    } else {
        frames_.stop();
    }
}

void InlineLayoutViewContainer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    prepare(painter);
    const MenuColors palette = colors();
    const Parts layout = parts();
    drawSymbol(painter, symbol_, layout.symbol, palette.primaryLabel);
    drawText(painter, layout.title, shownTitle(), titleFont(), palette.primaryLabel, Qt::AlignLeft);
    if (layout.caption) drawCaption(painter, *layout.caption, caption_, captionFont(), palette.secondaryLabel);
    // The miniature itself shows the screen as it is, unmirrored.
    preview_.paint(painter, visual(layout.preview).topLeft(), palette, now());
}

} // namespace zentaris
