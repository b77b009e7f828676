#pragma once

#include <QWidget>

namespace zentaris {

// Where a dragged window will land: a square-cornered translucent blue fill with a blue border
// drawn inside its edge.
class DragPreviewView : public QWidget {
public:
    static constexpr double fillOpacity = 0.3;
    static constexpr double borderWidth = 2.0;
    static QColor blue();

    explicit DragPreviewView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zentaris
