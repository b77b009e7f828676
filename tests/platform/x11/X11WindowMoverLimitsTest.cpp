// Frames no layout computes from a sane usable area, asked for anyway: the mover sends nothing it
// cannot put into the protocol's 16-bit fields (with the sanitizer build, a conversion out of range
// would stop the test), and the window keeps its frame.
#include "X11BackendFixture.h"

#include <limits>

using platform::Point;
using platform::Rect;
using platform::Size;
using zentaris::testing::X11Session;

TEST(X11WindowMoverLimits, FramesBeyondTheProtocolLeaveTheWindowWhereItIs) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    auto window = session.waitForWindow(session.launchClient({"--size", "400", "300"}));
    ASSERT_TRUE(window);
    const Rect start(100, 100, 402, 325);
    session.setFrame(*window, start);
    ASSERT_EQ(session.waitForFrame(*window, start), start);

    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const Rect beyond[] = {{1e12, 100, 402, 325}, {100, -40000, 402, 325}, {100, 100, 70000, 325},
                           {100, 100, 402, 1e300}, {nan, 100, 402, 325}, {100, 100, inf, 325}};
    for (const Rect& frame : beyond) {
        session.accessibility().setAttributeValue(*window, "AXPosition", frame.origin);
        session.accessibility().setAttributeValue(*window, "AXSize", frame.size);
        session.desktop().connection().flush();
        EXPECT_EQ(session.waitForFrame(*window, start), start)
            << frame.minX() << " " << frame.minY() << " " << frame.width() << " " << frame.height();
    }
    // Still movable afterwards.
    const Rect next(960, 0, 960, 1080);
    session.setFrame(*window, next);
    EXPECT_EQ(session.waitForFrame(*window, next), next);
}
