#include "views/CardAnimation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zentaris {

namespace {

// The share of a spring's way at time t: a damped oscillator of mass 1 released from rest.
double springProgress(double stiffness, double damping, double t) {
    const double omega = std::sqrt(stiffness);
    const double zeta = damping / (2 * omega);
    if (zeta < 1) {
        const double omegaD = omega * std::sqrt(1 - zeta * zeta);
        return 1 - std::exp(-zeta * omega * t) * (std::cos(omegaD * t) + zeta * omega / omegaD * std::sin(omegaD * t));
    }
    // Critically damped or slower.
    return 1 - std::exp(-omega * t) * (1 + omega * t);
}

double easeOutCurve(double x) { return 1 - (1 - x) * (1 - x); }
double easeInOutCurve(double x) { return x < 0.5 ? 2 * x * x : 1 - 2 * (1 - x) * (1 - x); }

} // namespace

double AnimationCurve::settleTime() const {
    if (repeatsForever) return std::numeric_limits<double>::infinity();
    if (kind == Kind::spring) {
        // Until the envelope of the swing is below a thousandth of the way.
        const double omega = std::sqrt(stiffness);
        const double decay = std::min(damping / 2, omega);
        return delay + std::log(1000.0) / std::max(decay, 1e-3);
    }
    return delay + duration;
}

double AnimationCurve::progress(double seconds) const {
    const double t = seconds - delay;
    if (t <= 0) return 0;
    if (kind == Kind::spring) return t >= settleTime() - delay ? 1.0 : springProgress(stiffness, damping, t);
    if (duration <= 0) return 1;
    double cycle = t / duration;
    if (!repeatsForever) cycle = std::min(cycle, 1.0);
    double x = cycle - std::floor(cycle);
    if (cycle >= 1 && !repeatsForever) x = 1;
    if (autoreverses && static_cast<long long>(std::floor(cycle)) % 2 == 1) x = 1 - x;
    switch (kind) {
    case Kind::linear: return x;
    case Kind::easeOut: return easeOutCurve(x);
    case Kind::easeInOut: return easeInOutCurve(x);
    case Kind::spring: break;
    }
    return x;
}

void AnimatedValue::animate(double target, double now, const AnimationCurve& how) {
    from = at(now);
    to = target;
    start = now;
    curve = how;
}

double AnimatedValue::at(double now) const { return from + (to - from) * curve.progress(now - start); }

void AnimationTrack::add(double target, double now, const AnimationCurve& how) {
    AnimatedValue leg = legs_.back();
    leg.animate(target, now, how);
    legs_.push_back(leg);
}

double AnimationTrack::at(double now) const {
    for (auto leg = legs_.rbegin(); leg != legs_.rend(); ++leg) {
        if (leg->start <= now) return leg->at(now);
    }
    return legs_.front().at(now);
}

} // namespace zentaris
