#include "SlotMatch.h"

#include <cmath>
#include <sstream>

namespace zentaris::testing {

namespace {

// The backend treats a slot edge this close to the area's edge as lying on it.
constexpr double edgeTolerance = 20;
constexpr double rounding = 1;

// Empty when the axis matches, else what is wrong.
std::string checkAxis(const char* axis, double actualMin, double actualLength, double slotMin, double slotLength,
                      double areaMin, double areaMax, int step) {
    const double actualMax = actualMin + actualLength;
    const double slotMax = slotMin + slotLength;
    std::ostringstream problem;
    if (actualLength > slotLength + rounding || actualLength <= slotLength - step - rounding) {
        problem << axis << " length " << actualLength << " is not within one step (" << step << ") below " << slotLength;
    } else if (slotMin - areaMin <= edgeTolerance) {
        if (std::abs(actualMin - slotMin) > rounding) problem << axis << " start " << actualMin << " != " << slotMin;
    } else if (areaMax - slotMax <= edgeTolerance) {
        if (std::abs(actualMax - slotMax) > rounding) problem << axis << " end " << actualMax << " != " << slotMax;
    } else if (actualMin < slotMin - rounding || actualMax > slotMax + rounding) {
        problem << axis << " span " << actualMin << ".." << actualMax << " leaves " << slotMin << ".." << slotMax;
    }
    return problem.str();
}

} // namespace

::testing::AssertionResult fillsSlot(const PixelRect& actual, const Slot& slot, const PixelRect& area,
                                     std::pair<int, int> increment, double gap) {
    const double inset = gap > 0 ? gap / 2 : 0;
    const Slot target{slot.x + inset, slot.y + inset, slot.width - 2 * inset, slot.height - 2 * inset};
    const auto x = checkAxis("x", actual.x, actual.width, target.x, target.width, area.x, area.maxX(), increment.first);
    const auto y = checkAxis("y", actual.y, actual.height, target.y, target.height, area.y, area.maxY(), increment.second);
    if (x.empty() && y.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "frame " << actual << " for slot (" << target.x << ", " << target.y << ", "
                                         << target.width << ", " << target.height << "): " << x
                                         << (x.empty() || y.empty() ? "" : "; ") << y;
}

} // namespace zentaris::testing
