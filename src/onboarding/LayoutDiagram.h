#pragma once

#include <QColor>
#include <QRectF>
#include <QWidget>

#include <vector>

namespace zentaris {

// A multi-window layout drawn as a grid of coloured cells, columns by rows, filling its frame.
// Cell i takes colour i; cells beyond the list take the last colour.
class LayoutDiagram : public QWidget {
public:
    LayoutDiagram(int columns, int rows, std::vector<QColor> colors, QWidget* parent = nullptr);

    // The cells as drawn in a frame of `size`, row by row from the top left. None when the grid
    // or its colours are empty.
    std::vector<QRectF> cellRects(QSizeF size) const;
    // The colour of cell `index`, before its opacity.
    QColor cellColor(std::size_t index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int columns_;
    int rows_;
    std::vector<QColor> colors_;
};

} // namespace zentaris
