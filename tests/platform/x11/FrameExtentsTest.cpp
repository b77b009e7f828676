#include "platform/x11/FrameExtents.h"

#include <gtest/gtest.h>

#include <limits>

using platform::Rect;
using platform::Size;
using platform::x11::FrameExtents;
using platform::x11::ProtocolRect;

TEST(FrameExtents, SidesBeyondAQuarterOfTheMonitorAreMadeUp) {
    const Size monitor{1920, 1080};
    EXPECT_EQ(platform::x11::plausibleFrameExtents({1, 1, 20, 5}, monitor), (FrameExtents{1, 1, 20, 5}));
    EXPECT_EQ(platform::x11::plausibleFrameExtents({480, 480, 270, 270}, monitor), (FrameExtents{480, 480, 270, 270}));
    EXPECT_EQ(platform::x11::plausibleFrameExtents({1, 1, 20}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({481, 0, 0, 0}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({0, 0, 0, 271}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({5000, 5000, 5000, 5000}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, monitor), std::nullopt);
}

TEST(FrameExtents, RequestsPlaceTheShadowedFrameAndSizeTheClientWithinTheProtocol) {
    const FrameExtents decoration{1, 1, 20, 5}, none{}, shadow{10, 10, 8, 12};
    // The frame's corner at the target, the client less its decorations and border.
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(960, 0, 960, 1080), decoration, none, 1), (ProtocolRect{960, 0, 956, 1053}));
    // A shadowed window: the frame starts before the visible edge and the client includes the shadow.
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(0, 0, 400, 300), none, shadow, 0), (ProtocolRect{-10, -8, 420, 320}));
    // Smaller than its decorations: one pixel.
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(0, 0, 1, 1), decoration, none, 0), (ProtocolRect{0, 0, 1, 1}));
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(-32768, 32767, 65535, 1), none, none, 0), (ProtocolRect{-32768, 32767, 65535, 1}));

    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const Rect& beyond : {Rect(-32769, 0, 400, 300), Rect(0, 32768, 400, 300), Rect(0, 0, 65536, 300),
                               Rect(0, 0, 400, 1e300), Rect(nan, 0, 400, 300), Rect(0, 0, inf, 300)}) {
        EXPECT_EQ(platform::x11::clientRequestFor(beyond, none, none, 0), std::nullopt)
            << beyond.minX() << " " << beyond.minY() << " " << beyond.width() << " " << beyond.height();
    }
}
