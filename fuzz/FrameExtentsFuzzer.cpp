// _NET_FRAME_EXTENTS and _GTK_FRAME_EXTENTS as any client could set them, and the move request
// built from them for any target (not-a-number and infinities included): accepted extents stay
// within a quarter of the monitor, a request never converts a number out of range (the
// sanitizer's float-cast-overflow check), and an ordinary target always gets one.
//
// Input: monitor width and height, the property's 4 values, the border, a target as 4 doubles.
#include "X11Values.h"
#include "platform/x11/FrameExtents.h"

#include <cmath>
#include <cstdlib>

using platform::Rect;
using platform::Size;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zentaris::fuzzing::X11Values in(data, size);
    const Size monitor{double(in.next(1, 16384)), double(in.next(1, 16384))};
    const auto extents = platform::x11::plausibleFrameExtents(in.take(4), monitor);
    if (extents && (extents->left > monitor.width / 4 || extents->right > monitor.width / 4 ||
                    extents->top > monitor.height / 4 || extents->bottom > monitor.height / 4))
        std::abort();
    const platform::x11::FrameExtents decoration = extents.value_or(platform::x11::FrameExtents{});
    const double border = in.next(0, 100);
    const Rect target(in.nextDouble(), in.nextDouble(), in.nextDouble(), in.nextDouble());
    const auto request = platform::x11::clientRequestFor(target, decoration, decoration, border);
    // A target on a monitor of the protocol's size always has a request.
    const bool ordinary = target.isFinite() && std::abs(target.minX()) <= 16384 && std::abs(target.minY()) <= 16384 &&
                          target.width() >= 0 && target.width() <= 16384 && target.height() >= 0 && target.height() <= 16384;
    if (ordinary && !request) std::abort();
    return 0;
}
