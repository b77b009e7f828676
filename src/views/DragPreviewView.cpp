#include "views/DragPreviewView.h"

#include <QPainter>

namespace zentaris {

QColor DragPreviewView::blue() { return QColor(0x00, 0x7a, 0xff); }

DragPreviewView::DragPreviewView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TranslucentBackground); }

void DragPreviewView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    QColor fill = blue();
    fill.setAlphaF(fillOpacity);
    painter.fillRect(rect(), fill);
    const QRectF inside = QRectF(rect()).adjusted(borderWidth / 2, borderWidth / 2, -borderWidth / 2, -borderWidth / 2);
    painter.setPen(QPen(blue(), borderWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(inside);
}

} // namespace zentaris
