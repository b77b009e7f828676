#include "views/DragModeMenuItemView.h"

#include "preferences/LanguageManager.h"

#include <QFontMetricsF>
#include <QPainter>

namespace zentaris {

namespace {

constexpr double horizontalInset = 10, verticalInset = 3, spacing = 10, groupSpacing = 6;
constexpr double leadingSpace = 5, symbolBox = 18, captionTrailing = 4, dotDiameter = 10;
constexpr int symbolPoints = 15, textPoints = 13, captionPoints = 11;

QFont textFont() { return MenuRowView::systemFont(textPoints, QFont::Medium); }
QFont captionFont() { return MenuRowView::systemFont(captionPoints); }

QString localized(const char* key) { return QString::fromStdString(LanguageManager::shared().localizedString(key)); }

} // namespace

DragModeMenuItemView::DragModeMenuItemView(bool isDragModeEnabled, std::optional<std::string> shortcut, QWidget* parent)
    : MenuRowView(rowWidth, rowHeight, parent), enabled_(isDragModeEnabled), title_(localized("Drag Mode")),
      state_(localized(isDragModeEnabled ? "ON" : "OFF")), caption_(captionText(shortcut)),
      hand_(isDragModeEnabled ? "hand.raised.fill" : "hand.raised.slash.fill", symbolPoints + 3) {
    setAccessibleName(statusText());
}

QString DragModeMenuItemView::statusText() const { return title_ + QStringLiteral(": ") + state_; }

// The colours of the large green and red circle characters; a painted dot needs no emoji font.
QColor DragModeMenuItemView::dotColor() const { return enabled_ ? QColor(0x78, 0xb1, 0x59) : QColor(0xdd, 0x2e, 0x44); }

std::optional<QRectF> DragModeMenuItemView::captionRect() const {
    if (caption_.isEmpty()) return std::nullopt;
    const QRectF content = QRectF(rect()).adjusted(horizontalInset, verticalInset, -horizontalInset, -verticalInset);
    const QFontMetricsF metrics(captionFont());
    const double width = metrics.horizontalAdvance(caption_);
    const double right = content.right() - captionTrailing;
    return QRectF(right - width, content.center().y() - metrics.height() / 2, width, metrics.height());
}

void DragModeMenuItemView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    prepare(painter);
    const MenuColors palette = colors();
    if (isHovered()) fillBackground(painter, 6, palette.selectedMenuItem);
    const QRectF content = QRectF(rect()).adjusted(horizontalInset, verticalInset, -horizontalInset, -verticalInset);
    const double middle = content.center().y();
    double x = content.left() + leadingSpace;
    drawSymbol(painter, hand_, QRectF(x, middle - symbolBox / 2, symbolBox, symbolBox), palette.primaryLabel);
    x += symbolBox + spacing;

    painter.setPen(Qt::NoPen);
    painter.setBrush(dotColor());
    painter.drawEllipse(visual(QRectF(x, middle - dotDiameter / 2, dotDiameter, dotDiameter)));
    x += dotDiameter + groupSpacing;

    const QFontMetricsF metrics(textFont());
    auto drawWord = [&](const QString& text, const QColor& color) {
        const double width = metrics.horizontalAdvance(text);
        drawText(painter, QRectF(x, middle - metrics.height() / 2, width + 1, metrics.height()), text, textFont(), color,
                 Qt::AlignLeft);
        x += width + groupSpacing;
    };
    drawWord(title_, palette.primaryLabel);
    drawWord(QStringLiteral(":"), palette.secondaryLabel);
    drawWord(state_, palette.primaryLabel);
    if (const auto caption = captionRect()) drawCaption(painter, *caption, caption_, captionFont(), palette.secondaryLabel);
}

} // namespace zentaris
