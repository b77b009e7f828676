#include "views/SoftShadow.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace zentaris {

namespace {

// One box pass along rows (or columns) of premultiplied pixels.
void boxPass(QImage& image, int radius, bool horizontal) {
    const int width = image.width(), height = image.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(length));
    const int window = 2 * radius + 1;
    for (int l = 0; l < lines; ++l) {
        auto pixel = [&](int i) -> QRgb& {
            return horizontal ? reinterpret_cast<QRgb*>(image.scanLine(l))[i] : reinterpret_cast<QRgb*>(image.scanLine(i))[l];
        };
        for (int i = 0; i < length; ++i) line[static_cast<std::size_t>(i)] = pixel(i);
        int sums[4] = {0, 0, 0, 0};
        auto add = [&](int i, int sign) {
            if (i < 0 || i >= length) return;
            const QRgb c = line[static_cast<std::size_t>(i)];
            sums[0] += sign * qAlpha(c);
            sums[1] += sign * qRed(c);
            sums[2] += sign * qGreen(c);
            sums[3] += sign * qBlue(c);
        };
        for (int i = -radius; i <= radius; ++i) add(i, 1);
        for (int i = 0; i < length; ++i) {
            pixel(i) = qRgba(sums[1] / window, sums[2] / window, sums[3] / window, sums[0] / window);
            add(i - radius, -1);
            add(i + radius + 1, 1);
        }
    }
}

} // namespace

QImage blurredImage(const QImage& image, int radius) {
    radius = std::max(radius, 0);
    QImage result(image.width() + 2 * radius, image.height() + 2 * radius, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    {
        QPainter painter(&result);
        painter.drawImage(radius, radius, image);
    }
    const int box = std::max(1, radius / 3);
    for (int pass = 0; pass < 3 && radius > 0; ++pass) {
        boxPass(result, box, true);
        boxPass(result, box, false);
    }
    return result;
}

} // namespace zentaris
