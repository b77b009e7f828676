#include "views/HoverTransition.h"

#include <algorithm>

namespace zentaris {

namespace {

// One coordinate of the cubic Bézier from 0 to 1 with inner control values a and b.
double bezier(double t, double a, double b) {
    const double u = 1 - t;
    return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
}

} // namespace

double easeInOut(double progress) {
    const double x = std::clamp(progress, 0.0, 1.0);
    // The curve's x grows monotonically with t: find t by bisection, then read y.
    double low = 0, high = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (low + high) / 2;
        (bezier(mid, 0.42, 0.58) < x ? low : high) = mid;
    }
    return bezier((low + high) / 2, 0.0, 1.0);
}

void HoverTransition::setTarget(bool hovered, double now) {
    if (hovered == target_) return;
    from_ = value(now);
    target_ = hovered;
    changedAt_ = now;
    changed_ = true;
}

double HoverTransition::value(double now) const {
    const double to = target_ ? 1.0 : 0.0;
    if (!changed_) return to;
    const double elapsed = now - changedAt_ - delay_;
    if (elapsed <= 0) return from_;
    if (duration_ <= 0 || elapsed >= duration_) return to;
    return from_ + (to - from_) * easeInOut(elapsed / duration_);
}

bool HoverTransition::isSettled(double now) const { return !changed_ || now - changedAt_ >= delay_ + duration_; }

} // namespace zentaris
