#include "views/SimpleLayoutPreviewView.h"

#include <QPainterPath>

#include <algorithm>

namespace zentaris {

namespace {

constexpr double transitionSeconds = 0.2;

QPainterPath roundedRect(const QRectF& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

SimpleLayoutPreviewView::SimpleLayoutPreviewView(LayoutType layout, double previewWidth, double previewHeight)
    : layout_(layout), width_(previewWidth), height_(previewHeight), slots_(miniatureSlots(layout, previewWidth, previewHeight)),
      locallyHovered_(0, transitionSeconds) {
    for (const auto& slot : slots_) slotTransitions_.emplace_back(slot.delay, transitionSeconds);
}

void SimpleLayoutPreviewView::setParentHovered(bool hovered, double now) {
    parentHovered_ = hovered;
    for (auto& transition : slotTransitions_) transition.setTarget(hovered, now);
}

void SimpleLayoutPreviewView::setLocallyHovered(bool hovered, double now) { locallyHovered_.setTarget(hovered, now); }

double SimpleLayoutPreviewView::slotProgress(std::size_t index, double now) const {
    return index < slotTransitions_.size() ? slotTransitions_[index].value(now) : 0.0;
}

double SimpleLayoutPreviewView::scale(double now) const { return 1.0 + 0.05 * locallyHovered_.value(now); }

bool SimpleLayoutPreviewView::isAnimating(double now) const {
    return !locallyHovered_.isSettled(now) ||
           std::any_of(slotTransitions_.begin(), slotTransitions_.end(), [now](const auto& t) { return !t.isSettled(now); });
}

void SimpleLayoutPreviewView::paint(QPainter& painter, const QPointF& topLeft, const MenuColors& colors, double now) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double zoom = scale(now);
    painter.translate(topLeft + QPointF(width_ / 2, height_ / 2));
    painter.scale(zoom, zoom);
    painter.translate(-width_ / 2, -height_ / 2);

    painter.fillPath(roundedRect(QRectF(0, 0, width_, height_), 3), withOpacity(colors.primaryLabel, 0.1));
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const auto& slot = slots_[i];
        const double p = slotProgress(i, now);
        const QRectF rect(slot.x, slot.y, slot.width, slot.height);
        const QColor fill = adjusted(blended(colors.accent, colors.systemBlue, p), 1.0 + 0.3 * p, 0.1 * p);

        painter.save();
        const double grow = 1.0 + 0.02 * p;
        painter.translate(rect.center());
        painter.scale(grow, grow);
        painter.translate(-rect.center());
        painter.setOpacity(0.8 + 0.2 * p);
        painter.fillPath(roundedRect(rect, 2), fill);
        painter.restore();

        // The outline follows the unscaled slot at the full strength of its own colour.
        painter.setPen(QPen(withOpacity(colors.primaryLabel, 0.3 + 0.1 * p), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(roundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 2));
    }
    painter.restore();
}

} // namespace zentaris
