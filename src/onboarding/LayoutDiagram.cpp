#include "onboarding/LayoutDiagram.h"

#include "onboarding/TutorialStyle.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace zentaris {

LayoutDiagram::LayoutDiagram(int columns, int rows, std::vector<QColor> colors, QWidget* parent)
    : QWidget(parent), columns_(columns), rows_(rows), colors_(std::move(colors)) {}

std::vector<QRectF> LayoutDiagram::cellRects(QSizeF size) const {
    std::vector<QRectF> cells;
    // A grid without cells or without colours draws only its background.
    if (columns_ <= 0 || rows_ <= 0 || colors_.empty()) return cells;
    const double cellWidth = size.width() / columns_;
    const double cellHeight = size.height() / rows_;
    for (int index = 0; index < columns_ * rows_; ++index) {
        const int row = index / columns_;
        const int column = index % columns_;
        const QPointF centre(column * cellWidth + cellWidth / 2, row * cellHeight + cellHeight / 2);
        const QSizeF cell(std::max(0.0, cellWidth - 2), std::max(0.0, cellHeight - 2));
        cells.emplace_back(centre - QPointF(cell.width() / 2, cell.height() / 2), cell);
    }
    return cells;
}

QColor LayoutDiagram::cellColor(std::size_t index) const {
    if (colors_.empty()) return {};
    return colors_[std::min(index, colors_.size() - 1)];
}

void LayoutDiagram::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), 4, 4);
    painter.setClipPath(outline);
    painter.fillRect(rect(), withOpacity(SystemColors::separator(), 0.2));
    const auto cells = cellRects(QSizeF(size()));
    for (std::size_t index = 0; index < cells.size(); ++index) {
        painter.fillRect(cells[index], withOpacity(cellColor(index), 0.7));
    }
}

} // namespace zentaris
