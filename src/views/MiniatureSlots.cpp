#include "views/MiniatureSlots.h"

namespace zentaris {

namespace {

constexpr double margin = 4;
constexpr double gap = 4;
constexpr double delayStep = 0.1;

} // namespace

std::vector<MiniatureSlot> miniatureSlots(LayoutType layout, double previewWidth, double previewHeight) {
    const double left = margin, top = margin;
    const double width = previewWidth - 2 * margin, height = previewHeight - 2 * margin;
    const double halfWidth = (width - gap) / 2, halfHeight = (height - gap) / 2;
    const double right = left + halfWidth + gap, bottom = top + halfHeight + gap;
    // The three-window top and bottom layouts stack two rows a little taller than half the inner
    // height; the stack stays centred and so reaches into the margin.
    const double rowHeight = (previewHeight - 10) / 2;
    const double stackTop = top + (height - (2 * rowHeight + gap)) / 2;
    const double stackBottom = stackTop + rowHeight + gap;
    // Widths that the layouts fix whatever the miniature's size.
    constexpr double sideColumn = 16, middleColumn = 32, wideShare = 48, narrowShare = 20, sideBySide = 34;

    std::vector<MiniatureSlot> result;
    auto add = [&](double x, double y, double w, double h) {
        result.push_back({x, y, w, h, delayStep * static_cast<double>(result.size())});
    };
    switch (layout) {
    case LayoutType::threeColumn:
        add(left, top, sideColumn, height);
        add(left + sideColumn + gap, top, middleColumn, height);
        add(left + sideColumn + middleColumn + 2 * gap, top, sideColumn, height);
        break;
    case LayoutType::quartet:
        add(left, top, halfWidth, halfHeight);
        add(right, top, halfWidth, halfHeight);
        add(left, bottom, halfWidth, halfHeight);
        add(right, bottom, halfWidth, halfHeight);
        break;
    case LayoutType::splitVertical:
        add(left, top, halfWidth, height);
        add(right, top, halfWidth, height);
        break;
    case LayoutType::splitHorizontal:
        add(left, top, width, halfHeight);
        add(left, bottom, width, halfHeight);
        break;
    case LayoutType::threeWindowTop:
        add(left, stackTop, width, rowHeight);
        add(left, stackBottom, halfWidth, rowHeight);
        add(right, stackBottom, halfWidth, rowHeight);
        break;
    case LayoutType::threeWindowBottom:
        add(left, stackTop, halfWidth, rowHeight);
        add(right, stackTop, halfWidth, rowHeight);
        add(left, stackBottom, width, rowHeight);
        break;
    case LayoutType::split7030:
        add(left, top, wideShare, height);
        add(left + wideShare + gap, top, narrowShare, height);
        break;
    case LayoutType::split3070:
        add(left, top, narrowShare, height);
        add(left + narrowShare + gap, top, wideShare, height);
        break;
    case LayoutType::threeWindowLeft:
        add(left, top, sideBySide, height);
        add(left + sideBySide + gap, top, sideBySide, halfHeight);
        add(left + sideBySide + gap, bottom, sideBySide, halfHeight);
        break;
    case LayoutType::threeWindowRight:
        add(left, top, sideBySide, halfHeight);
        add(left, bottom, sideBySide, halfHeight);
        add(left + sideBySide + gap, top, sideBySide, height);
        break;
    }
    return result;
}

} // namespace zentaris
