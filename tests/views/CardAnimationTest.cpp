#include "views/CardAnimation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace zentaris;

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// A spring of mass 1 released from rest at 0 towards 1, integrated step by step (fourth-order
// Runge-Kutta): the motion the spring curve has to follow.
struct SpringMotion {
    double stiffness, damping;
    double position = 0, velocity = 0, time = 0;

    double acceleration(double x, double v) const { return -stiffness * (x - 1) - damping * v; }
    void advanceTo(double until) {
        constexpr double dt = 1e-4;
        while (time + dt / 2 < until) {
            const double k1x = velocity, k1v = acceleration(position, velocity);
            const double k2x = velocity + dt / 2 * k1v, k2v = acceleration(position + dt / 2 * k1x, k2x);
            const double k3x = velocity + dt / 2 * k2v, k3v = acceleration(position + dt / 2 * k2x, k3x);
            const double k4x = velocity + dt * k3v, k4v = acceleration(position + dt * k3x, k4x);
            position += dt / 6 * (k1x + 2 * k2x + 2 * k3x + k4x);
            velocity += dt / 6 * (k1v + 2 * k2v + 2 * k3v + k4v);
            time += dt;
        }
    }
};

} // namespace

TEST(CardAnimation, TimedCurvesStartAfterTheirDelayAndEndAtOne) {
    const struct {
        const char* name;
        AnimationCurve curve;
        std::vector<std::pair<double, double>> progress; // (seconds, share of the way)
        double settle;
    } cases[] = {
        {"linear 2 s", AnimationCurve::linear(2), {{-1, 0}, {0, 0}, {0.5, 0.25}, {1, 0.5}, {2, 1}, {5, 1}}, 2},
        {"ease-out 0.5 s after 0.1 s",
         AnimationCurve::easeOut(0.5, 0.1),
         {{0.05, 0}, {0.1, 0}, {0.2, 0.36}, {0.35, 0.75}, {0.6, 1}, {3, 1}},
         0.6},
        {"ease-in-out 1.2 s",
         AnimationCurve::easeInOut(1.2),
         {{0, 0}, {0.3, 0.125}, {0.6, 0.5}, {0.9, 0.875}, {1.2, 1}, {2, 1}},
         1.2},
    };
    for (const auto& c : cases) {
        for (const auto& [seconds, share] : c.progress) {
            EXPECT_NEAR(c.curve.progress(seconds), share, 1e-9) << c.name << " at " << seconds;
        }
        EXPECT_DOUBLE_EQ(c.curve.settleTime(), c.settle) << c.name;
    }
}

TEST(CardAnimation, RepeatingCurvesRestartOrTurnBackAndNeverSettle) {
    const auto turning = AnimationCurve::linear(2.0).repeatingForever(/*reversing=*/false);
    EXPECT_NEAR(turning.progress(1.0), 0.5, 1e-9);
    EXPECT_NEAR(turning.progress(2.5), 0.25, 1e-9) << "the second lap starts from the beginning";
    EXPECT_NEAR(turning.progress(5.9), 0.95, 1e-9);
    EXPECT_EQ(turning.settleTime(), infinity);

    const auto pulsing = AnimationCurve::easeInOut(1.2).repeatingForever(/*reversing=*/true);
    EXPECT_NEAR(pulsing.progress(0.3), 0.125, 1e-9);
    EXPECT_NEAR(pulsing.progress(1.2), 1, 1e-9) << "out at the end of the first leg";
    EXPECT_NEAR(pulsing.progress(1.5), 0.875, 1e-9) << "and on the way back";
    EXPECT_NEAR(pulsing.progress(2.4), 0, 1e-9);
    EXPECT_NEAR(pulsing.progress(2.7), 0.125, 1e-9) << "then out again";
    EXPECT_EQ(pulsing.settleTime(), infinity);

    AnimatedValue halo(1.0);
    halo.animate(1.15, 0, pulsing);
    EXPECT_FALSE(halo.isSettled(1000));
}

TEST(CardAnimation, SpringsFollowAReleasedSpringAndSettleOnTheTarget) {
    // The springs of the cards: reveal, background, icon, icon swell.
    const std::pair<double, double> springs[] = {{200, 20}, {300, 25}, {300, 15}, {400, 20}};
    for (const auto& [stiffness, damping] : springs) {
        SCOPED_TRACE(::testing::Message() << "stiffness " << stiffness << ", damping " << damping);
        const auto curve = AnimationCurve::spring(stiffness, damping);
        const double settle = curve.settleTime();
        EXPECT_GT(settle, 0.3);
        EXPECT_LT(settle, 1.2) << "a card's spring is over within about a second";

        SpringMotion motion{stiffness, damping};
        double largestLateSwing = 0;
        for (double t = 0; t < settle; t += 0.01) {
            motion.advanceTo(t);
            EXPECT_NEAR(curve.progress(motion.time), motion.position, 1e-5) << "at " << motion.time;
            if (t > settle / 2) largestLateSwing = std::max(largestLateSwing, std::abs(motion.position - 1));
        }
        EXPECT_GT(largestLateSwing, 1e-4) << "settled well before its settle time";
        motion.advanceTo(settle);
        EXPECT_LT(std::abs(motion.position - 1), 2e-3) << "no visible jump when the curve snaps to 1";
        EXPECT_EQ(curve.progress(settle), 1.0);
        EXPECT_EQ(curve.progress(settle + 10), 1.0);
        EXPECT_EQ(curve.progress(-0.1), 0.0);
    }
}

TEST(CardAnimation, SoftSpringsOvershootAndStiffOnesBarely) {
    auto peak = [](const AnimationCurve& curve) {
        double highest = 0;
        for (double t = 0; t < curve.settleTime(); t += 0.001) highest = std::max(highest, curve.progress(t));
        return highest;
    };
    EXPECT_NEAR(peak(AnimationCurve::spring(300, 15)), 1.22, 0.01) << "the icon's bounce";
    EXPECT_NEAR(peak(AnimationCurve::spring(300, 25)), 1.04, 0.01) << "the card's background";
    EXPECT_LE(peak(AnimationCurve::spring(100, 20)), 1.0) << "critically damped: no overshoot";
}

TEST(CardAnimation, AValueTurnsFromWhereItStandsAndSettlesWithItsLastLeg) {
    AnimationTrack track(0);
    track.add(1, 0, AnimationCurve::linear(1));
    track.add(0, 0.5, AnimationCurve::linear(1));
    EXPECT_DOUBLE_EQ(track.at(-1), 0);
    EXPECT_DOUBLE_EQ(track.at(0.25), 0.25);
    EXPECT_DOUBLE_EQ(track.at(0.5), 0.5) << "the second leg starts where the first stood";
    EXPECT_DOUBLE_EQ(track.at(1.0), 0.25);
    EXPECT_DOUBLE_EQ(track.at(1.5), 0);
    EXPECT_FALSE(track.isSettled(1.49));
    EXPECT_TRUE(track.isSettled(1.5));

    AnimatedValue title(0.3);
    title.animate(1, 2.0, AnimationCurve::easeOut(0.4, 0.15));
    EXPECT_DOUBLE_EQ(title.at(2.1), 0.3) << "holds during its delay";
    EXPECT_NEAR(title.at(2.35), 0.3 + 0.7 * 0.75, 1e-9);
    EXPECT_DOUBLE_EQ(title.at(2.55), 1);
    EXPECT_FALSE(title.isSettled(2.54));
    EXPECT_TRUE(title.isSettled(2.55));
}
