#include "shell/StatusIconImage.h"

#include "views/PictureFile.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace zentaris {

namespace {
constexpr int iconSizes[] = {16, 22, 24, 32, 48, 64};
}

QIcon statusIconImage(const QString& svgPath, bool templateImage, const QColor& templateColor) {
    QSvgRenderer renderer(readPictureFile(svgPath.toStdString()));
    if (!renderer.isValid()) return {};
    QIcon icon;
    for (int size : iconSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        if (templateImage) {
            // Keep the shape's opacity, replace its colours.
            painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            painter.fillRect(pixmap.rect(), templateColor);
        }
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon fallbackGridIcon(const QColor& color) {
    QIcon icon;
    for (int size : iconSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(color, std::max(1.0, size / 12.0)));
        const double step = size / 3.0;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                painter.drawRoundedRect(QRectF(column * step + 1, row * step + 1, step - 2, step - 2), 1, 1);
            }
        }
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace zentaris
