#include "settings/GeneralPreviews.h"

#include "settings/SettingsWidgets.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zentaris {

namespace {

constexpr double padding = 12;
constexpr double previewCornerRadius = 6;

void paintPreviewBackground(QPainter& painter, const QRectF& bounds) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(SystemColors::windowBackground(), 0.5));
    painter.drawRoundedRect(bounds, previewCornerRadius, previewCornerRadius);
}

} // namespace

ThreeColumnPreview::ThreeColumnPreview(ThreeColumnStyle style, QWidget* parent) : QWidget(parent), style_(style) {
    setFixedHeight(50 + 2 * static_cast<int>(padding));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ThreeColumnPreview::setStyle(ThreeColumnStyle style) {
    style_ = style;
    update();
}

std::array<int, 3> ThreeColumnPreview::percentages(ThreeColumnStyle style) {
    return style == ThreeColumnStyle::classic ? std::array{25, 50, 25} : std::array{30, 40, 30};
}

std::array<QRectF, 3> ThreeColumnPreview::columnRects() const {
    const QRectF reader = QRectF(rect()).adjusted(padding, padding, -padding, -padding);
    const double spacing = 4;
    const double available = std::max(0.0, reader.width() - 24);
    const auto shares = percentages(style_);
    double total = spacing * 2;
    for (int share : shares) total += available * share / 100.0;
    double x = reader.center().x() - total / 2;
    std::array<QRectF, 3> rects;
    for (std::size_t i = 0; i < shares.size(); ++i) {
        const double width = available * shares[i] / 100.0;
        rects[i] = QRectF(x, reader.top(), width, reader.height());
        x += width + spacing;
    }
    return rects;
}

void ThreeColumnPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPreviewBackground(painter, QRectF(rect()));
    const auto rects = columnRects();
    const auto shares = percentages(style_);
    QFont font = painter.font();
    font.setPointSizeF(10);
    font.setWeight(QFont::DemiBold);
    painter.setFont(font);
    const std::array<double, 3> opacities{0.3, 0.5, 0.3};
    for (std::size_t i = 0; i < rects.size(); ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(SystemColors::purple(), opacities[i]));
        painter.drawRoundedRect(rects[i], 4, 4);
        painter.setPen(SystemColors::purple());
        painter.drawText(rects[i], Qt::AlignCenter, QStringLiteral("%1%").arg(shares[i]));
    }
}

WindowGapPreview::WindowGapPreview(double gap, QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setGap(gap);
}

void WindowGapPreview::setGap(double gap) {
    // A value written from outside may be anything; the drawing stays within the slider's range.
    spacing_ = std::isfinite(gap) ? std::clamp(gap, 0.0, 20.0) : 0.0;
    setFixedHeight(sizeHint().height());
    update();
}

QSize WindowGapPreview::sizeHint() const {
    return {200, static_cast<int>(std::ceil(2 * padding + 2 * 40 + spacing_))};
}

std::array<QRectF, 4> WindowGapPreview::tileRects() const {
    const QRectF inner = QRectF(rect()).adjusted(padding, padding, -padding, -padding);
    const double width = std::max(0.0, (inner.width() - spacing_) / 2);
    std::array<QRectF, 4> rects;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            rects[static_cast<std::size_t>(row * 2 + column)] =
                QRectF(inner.left() + column * (width + spacing_), inner.top() + row * (40 + spacing_), width, 40);
        }
    }
    return rects;
}

void WindowGapPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPreviewBackground(painter, QRectF(rect()));
    painter.setBrush(withOpacity(SystemColors::accent(), 0.3));
    for (const auto& tile : tileRects()) painter.drawRoundedRect(tile, 4, 4);
}

} // namespace zentaris
