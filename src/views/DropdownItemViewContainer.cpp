#include "views/DropdownItemViewContainer.h"

#include <QFontMetricsF>
#include <QPainter>

namespace zentaris {

namespace {

constexpr double horizontalInset = 4, verticalInset = 2, spacing = 2, minimumGap = 12;
constexpr double iconBox = 16;
constexpr int iconPoints = 12, titlePoints = 12, captionPoints = 10;

QFont titleFont() { return MenuRowView::systemFont(titlePoints); }
QFont captionFont() { return MenuRowView::systemFont(captionPoints); }

} // namespace

DropdownItemViewContainer::DropdownItemViewContainer(std::string title, std::string iconName,
                                                     std::optional<std::string> shortcut, int width, int height,
                                                     QWidget* parent)
    : MenuRowView(width, height, parent), title_(QString::fromStdString(title)), caption_(captionText(shortcut)),
      icon_(std::move(iconName), iconPoints + 2) {
    setAccessibleName(title_);
}

DropdownItemViewContainer::Parts DropdownItemViewContainer::parts() const {
    const QRectF content = QRectF(rect()).adjusted(horizontalInset, verticalInset, -horizontalInset, -verticalInset);
    const double middle = content.center().y();
    Parts parts;
    double x = content.left();
    if (!icon_.name().empty()) {
        parts.icon = QRectF(x, middle - iconBox / 2, iconBox, iconBox);
        x += iconBox + spacing;
    }
    double titleEnd = content.right() - minimumGap;
    if (!caption_.isEmpty()) {
        const QFontMetricsF metrics(captionFont());
        const double width = metrics.horizontalAdvance(caption_);
        parts.caption = QRectF(content.right() - width, middle - metrics.height() / 2, width, metrics.height());
        titleEnd = parts.caption->left() - spacing - minimumGap;
    }
    const QFontMetricsF metrics(titleFont());
    parts.title = QRectF(x, middle - metrics.height() / 2, std::max(0.0, titleEnd - x), metrics.height());
    return parts;
}

QString DropdownItemViewContainer::shownTitle() const {
    return QFontMetricsF(titleFont()).elidedText(title_, Qt::ElideRight, parts().title.width());
}

void DropdownItemViewContainer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    prepare(painter);
    const MenuColors palette = colors();
    if (isHovered()) fillBackground(painter, 4, withOpacity(palette.accent, 0.1));
    const Parts layout = parts();
    if (layout.icon) drawSymbol(painter, icon_, *layout.icon, palette.primaryLabel);
    drawText(painter, layout.title, shownTitle(), titleFont(), palette.primaryLabel, Qt::AlignLeft);
    if (layout.caption) drawCaption(painter, *layout.caption, caption_, captionFont(), palette.secondaryLabel);
}

} // namespace zentaris
