#include "layout/RelativeFrame.h"

#include "layout/WindowFrameCalculator.h"

#include <algorithm>
#include <cmath>

namespace zentaris {

double measuringGap(const platform::UserDefaults& defaults) { return storedWindowGap(defaults); }

std::optional<RelativeFrame> relativeFrame(const Rect& axFrame, double p, const Rect& usable, double gap) {
    if (!(usable.width() > 0) || !(usable.height() > 0)) return std::nullopt;
    RelativeFrame r{(axFrame.minX() - usable.minX()) / usable.width(),
                    (p - axFrame.minY() - axFrame.height() - usable.minY()) / usable.height(),
                    (axFrame.width() + gap) / usable.width(), (axFrame.height() + gap) / usable.height()};
    if (!std::isfinite(r.x) || !std::isfinite(r.y) || !std::isfinite(r.width) || !std::isfinite(r.height)) {
        return std::nullopt;
    }
    return r;
}

std::optional<double> widthClass(double relativeWidth) {
    const double d3 = std::fabs(relativeWidth - 0.3), d5 = std::fabs(relativeWidth - 0.5),
                 d7 = std::fabs(relativeWidth - 0.7);
    const double nearest = std::min({d3, d5, d7});
    if (nearest > relativeTolerance) return std::nullopt;
    if (d3 == nearest) return 0.3;
    if (d5 == nearest) return 0.5;
    return 0.7;
}

std::optional<int> recognisedColumn(const RelativeFrame& f, const ColumnFractions& c) {
    auto near = [](double a, double b) { return std::fabs(a - b) < relativeTolerance; };
    if (near(f.width, c.outer) && near(f.x, 0)) return 0;
    if (near(f.width, c.middle) && near(f.x, c.outer)) return 1;
    if (near(f.width, c.outer) && near(f.x, c.rightEdge)) return 2;
    return std::nullopt;
}

} // namespace zentaris
