#pragma once

namespace zentaris {

// A value between 0 (not hovered) and 1 (hovered) that follows its target along an ease-in-out
// curve of `duration` seconds, starting `delay` seconds after the target changed. A change in the
// middle of a transition starts from where the value stands.
class HoverTransition {
public:
    HoverTransition(double delay, double duration) : delay_(delay), duration_(duration) {}

    bool target() const { return target_; }
    void setTarget(bool hovered, double now);
    double value(double now) const;
    bool isSettled(double now) const;

private:
    double delay_;
    double duration_;
    bool target_ = false;
    double from_ = 0;
    double changedAt_ = 0;
    bool changed_ = false;
};

// The standard ease-in-out timing curve (cubic Bézier 0.42, 0, 0.58, 1) at `progress` (0 to 1).
double easeInOut(double progress);

} // namespace zentaris
