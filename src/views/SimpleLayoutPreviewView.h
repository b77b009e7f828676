#pragma once

#include "layout/LayoutType.h"
#include "views/HoverTransition.h"
#include "views/MenuColors.h"
#include "views/MiniatureSlots.h"

#include <QPainter>
#include <QPointF>

#include <vector>

namespace zentaris {

// The animated miniature of a layout drawn in a layout row: a plate with the layout's slots,
// which light up one after another while the row is hovered; the whole miniature grows a little
// while the pointer is over it. Times are in seconds on any steady clock.
class SimpleLayoutPreviewView {
public:
    SimpleLayoutPreviewView(LayoutType layout, double previewWidth, double previewHeight);

    LayoutType layout() const { return layout_; }
    double width() const { return width_; }
    double height() const { return height_; }
    const std::vector<MiniatureSlot>& layoutSlots() const { return slots_; }

    bool isParentHovered() const { return parentHovered_; }
    bool isLocallyHovered() const { return locallyHovered_.target(); }
    void setParentHovered(bool hovered, double now);
    void setLocallyHovered(bool hovered, double now);

    // How far slot `index` has gone towards its hovered look (0 to 1).
    double slotProgress(std::size_t index, double now) const;
    // The scale of the whole miniature about its centre.
    double scale(double now) const;
    bool isAnimating(double now) const;

    void paint(QPainter& painter, const QPointF& topLeft, const MenuColors& colors, double now) const;

private:
    LayoutType layout_;
    double width_;
    double height_;
    std::vector<MiniatureSlot> slots_;
    std::vector<HoverTransition> slotTransitions_;
    HoverTransition locallyHovered_;
    bool parentHovered_ = false;
};

} // namespace zentaris
