#include "layout/SlotGeometry.h"

namespace zentaris {

namespace namedSlots {

Rect leftHalf(const Rect& f) { return {f.minX(), f.minY(), f.width() / 2, f.height()}; }
Rect rightHalf(const Rect& f) { return {f.minX() + f.width() / 2, f.minY(), f.width() / 2, f.height()}; }
Rect topHalf(const Rect& f) { return {f.minX(), f.minY() + f.height() / 2, f.width(), f.height() / 2}; }
Rect bottomHalf(const Rect& f) { return {f.minX(), f.minY(), f.width(), f.height() / 2}; }
Rect topLeftQuarter(const Rect& f) { return {f.minX(), f.minY() + f.height() / 2, f.width() / 2, f.height() / 2}; }
Rect topRightQuarter(const Rect& f) {
    return {f.minX() + f.width() / 2, f.minY() + f.height() / 2, f.width() / 2, f.height() / 2};
}
Rect bottomLeftQuarter(const Rect& f) { return {f.minX(), f.minY(), f.width() / 2, f.height() / 2}; }
Rect bottomRightQuarter(const Rect& f) { return {f.minX() + f.width() / 2, f.minY(), f.width() / 2, f.height() / 2}; }

std::optional<Rect> quarter(const Rect& f, int index) {
    switch (index) {
    case 0: return topLeftQuarter(f);
    case 1: return topRightQuarter(f);
    case 2: return bottomLeftQuarter(f);
    case 3: return bottomRightQuarter(f);
    default: return std::nullopt;
    }
}

Rect column(const Rect& f, double left, double width) {
    return {f.minX() + left * f.width(), f.minY(), width * f.width(), f.height()};
}

} // namespace namedSlots

ColumnFractions columnFractions(ThreeColumnStyle style) {
    if (style == ThreeColumnStyle::classic) return {0.25, 0.5, 0.75};
    return {0.3, 0.4, 0.7};
}

std::vector<Rect> framesForLayoutInRect(LayoutType layout, const Rect& f, ThreeColumnStyle style) {
    using namespace namedSlots;
    switch (layout) {
    case LayoutType::threeColumn: {
        const auto c = columnFractions(style);
        return {column(f, 0, c.outer), column(f, c.outer, c.middle), column(f, c.rightEdge, c.outer)};
    }
    case LayoutType::quartet: return {topLeftQuarter(f), topRightQuarter(f), bottomLeftQuarter(f), bottomRightQuarter(f)};
    case LayoutType::splitVertical: return {leftHalf(f), rightHalf(f)};
    case LayoutType::splitHorizontal: return {topHalf(f), bottomHalf(f)};
    case LayoutType::threeWindowTop: return {topHalf(f), bottomLeftQuarter(f), bottomRightQuarter(f)};
    case LayoutType::threeWindowBottom: return {topLeftQuarter(f), topRightQuarter(f), bottomHalf(f)};
    case LayoutType::split7030: return {column(f, 0, 0.7), column(f, 0.7, 0.3)};
    case LayoutType::split3070: return {column(f, 0, 0.3), column(f, 0.3, 0.7)};
    // Arranging fills the lower quarter before the upper one in these two.
    case LayoutType::threeWindowLeft: return {leftHalf(f), bottomRightQuarter(f), topRightQuarter(f)};
    case LayoutType::threeWindowRight: return {bottomLeftQuarter(f), topLeftQuarter(f), rightHalf(f)};
    }
    return {};
}

} // namespace zentaris
