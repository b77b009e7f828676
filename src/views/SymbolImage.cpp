#include "views/SymbolImage.h"

#include "platform/Bundle.h"
#include "views/PictureFile.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace zentaris {

std::filesystem::path symbolPath(const std::string& name) {
    return platform::Bundle::main().resourcePath() / "icons" / (name + ".svg");
}

QPixmap symbolPixmap(const std::string& name, int side, const QColor& color, qreal devicePixelRatio) {
    if (name.empty() || side <= 0) return {};
    QSvgRenderer renderer(readPictureFile(symbolPath(name)));
    if (!renderer.isValid()) return {};
    const int pixels = static_cast<int>(std::lround(side * devicePixelRatio));
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    // The drawing's coverage stays; its colour becomes ours.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon symbolIcon(const std::string& name, const QColor& color) {
    QIcon icon;
    for (int side : {16, 22, 32, 48}) {
        const QPixmap pixmap = symbolPixmap(name, side, color);
        if (pixmap.isNull()) return {};
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace zentaris
