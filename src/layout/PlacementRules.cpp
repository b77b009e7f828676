#include "layout/PlacementRules.h"

#include <cmath>

namespace zentaris {

namespace {

bool near(double a, double b) { return std::fabs(a - b) < relativeTolerance; }
bool fullHeight(const RelativeFrame& f) { return f.height > 0.98; }
bool fullWidth(const RelativeFrame& f) { return f.width > 0.98; }
bool halfHeight(const RelativeFrame& f) { return near(f.height, 0.5); }

// 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right; exactly 0.48 counts as neither side.
int quarterIndex(const RelativeFrame& f) {
    if (f.y > 0.48 && f.x < 0.48) return 0;
    if (f.y > 0.48 && f.x > 0.48) return 1;
    if (f.y < 0.48 && f.x < 0.48) return 2;
    return 3;
}

} // namespace

Rect scaledFrame(const RelativeFrame& f, const Rect& d) {
    return {d.minX() + f.x * d.width(), d.minY() + f.y * d.height(), f.width * d.width(), f.height * d.height()};
}

MovePlacement placementForMove(const RelativeFrame& f, const ColumnFractions& columns) {
    using Kind = MovePlacement::Kind;
    if (fullHeight(f) && fullWidth(f)) return {Kind::wholeArea};
    if (fullHeight(f)) {
        if (auto column = recognisedColumn(f, columns)) return {Kind::threeColumn, *column};
        auto width = widthClass(f.width);
        if (!width) return {Kind::scaled};
        if (near(f.x, 0)) return {Kind::leftColumn, 0, *width};
        if (*width == 0.3 && near(f.x, 0.7)) return {Kind::rightThirty};
        if (*width == 0.5 && near(f.x, 0.5)) return {Kind::rightHalf};
        if (*width == 0.7 && near(f.x, 0.3)) return {Kind::rightSeventy};
        return {Kind::scaled};
    }
    if (halfHeight(f)) {
        if (fullWidth(f)) return {f.y > 0.48 ? Kind::topHalf : Kind::bottomHalf};
        if (near(f.width, 0.5)) return {Kind::quarter, quarterIndex(f)};
    }
    return {Kind::scaled};
}

Rect placementForSwap(const RelativeFrame& f, const Rect& t, const ColumnFractions& columns,
                      const std::function<std::optional<int>()>& rememberedColumn) {
    if (fullHeight(f) && fullWidth(f)) return t;
    if (fullHeight(f)) {
        const Rect columnRects[3] = {namedSlots::column(t, 0, columns.outer), namedSlots::column(t, columns.outer, columns.middle),
                                     namedSlots::column(t, columns.rightEdge, columns.outer)};
        auto column = rememberedColumn ? rememberedColumn() : std::nullopt;
        if (!column || *column < 0 || *column > 2) column = recognisedColumn(f, columns);
        if (column) return columnRects[*column];
        auto width = widthClass(f.width);
        if (!width) return scaledFrame(f, t);
        double left = f.x;
        if (near(f.x, 0)) {
            left = 0;
        } else if (*width == 0.3 && near(f.x, 0.7)) {
            left = 0.7;
        } else if (*width == 0.5 && near(f.x, 0.25)) {
            left = 0.25;
        } else if (*width == 0.5 && near(f.x, 0.5)) {
            left = 0.5;
        } else if (*width == 0.7 && near(f.x, 0.3)) {
            left = 0.3;
        }
        return namedSlots::column(t, left, *width);
    }
    if (halfHeight(f)) {
        if (fullWidth(f)) return f.y > 0.48 ? namedSlots::topHalf(t) : namedSlots::bottomHalf(t);
        if (near(f.width, 0.5)) return *namedSlots::quarter(t, quarterIndex(f));
    }
    return scaledFrame(f, t);
}

} // namespace zentaris
