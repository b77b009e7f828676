#pragma once

#include <vector>

namespace zentaris {

// How a value moves from one number to another over time.
struct AnimationCurve {
    enum class Kind { linear, easeOut, easeInOut, spring };

    Kind kind = Kind::linear;
    double duration = 0; // seconds; springs compute their own
    double delay = 0;
    bool repeatsForever = false;
    bool autoreverses = false;
    // An interpolating spring with mass 1 and no initial velocity.
    double stiffness = 0;
    double damping = 0;

    static AnimationCurve linear(double seconds) { return {Kind::linear, seconds}; }
    static AnimationCurve easeOut(double seconds, double delay = 0) { return {Kind::easeOut, seconds, delay}; }
    static AnimationCurve easeInOut(double seconds) { return {Kind::easeInOut, seconds}; }
    static AnimationCurve spring(double stiffness, double damping) {
        return {Kind::spring, 0, 0, false, false, stiffness, damping};
    }
    AnimationCurve repeatingForever(bool reversing) const {
        auto copy = *this;
        copy.repeatsForever = true;
        copy.autoreverses = reversing;
        return copy;
    }

    // The share of the way covered `seconds` after the start (delay included); a spring may overshoot 1.
    double progress(double seconds) const;
    // When the value stops changing; infinite for repeating curves.
    double settleTime() const;
};

// One value of a card: where it was, where it goes, and from when.
struct AnimatedValue {
    double from = 0;
    double to = 0;
    double start = 0; // seconds on the card's clock
    AnimationCurve curve;

    explicit AnimatedValue(double value = 0) : from(value), to(value) {}
    // Starts moving from wherever it is at `now` towards `target`.
    void animate(double target, double now, const AnimationCurve& how);
    double at(double now) const;
    bool isSettled(double now) const { return now >= start + curve.settleTime(); }
};

// A value that is sent on its way several times, each leg starting where the last one stands.
class AnimationTrack {
public:
    explicit AnimationTrack(double initial = 0) : legs_{AnimatedValue(initial)} {}
    // From `now` on, moves towards `target`; legs must be added in time order.
    void add(double target, double now, const AnimationCurve& how);
    double at(double now) const;
    bool isSettled(double now) const { return legs_.back().isSettled(now); }

private:
    std::vector<AnimatedValue> legs_;
};

} // namespace zentaris
