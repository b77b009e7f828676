// WM_NORMAL_HINTS as any client could set them, on a monitor of any size: after the check, the size
// the window is given is at least a pixel, never larger than the slot or the monitor by more than
// one monitor, its top-left corner stays inside the usable area, and its request is in range.
//
// Input: monitor width and height, wanted width and height, then the property's values.
#include "X11Values.h"
#include "platform/x11/FrameExtents.h"
#include "platform/x11/SizeHints.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

using platform::Rect;
using platform::Size;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zentaris::fuzzing::X11Values in(data, size);
    const Size monitor{double(in.next(1, 16384)), double(in.next(1, 16384))};
    const Size wanted{double(in.next(1, std::uint32_t(monitor.width))), double(in.next(1, std::uint32_t(monitor.height)))};
    const auto checked = platform::x11::checkSizeHints(platform::x11::sizeHintsFromValues(in.take(18)), monitor);
    const Size fitted = platform::x11::fitClientSize(checked.hints, wanted);
    for (auto [length, want, room] : {std::tuple{fitted.width, wanted.width, monitor.width},
                                      std::tuple{fitted.height, wanted.height, monitor.height}}) {
        if (!(length >= 1) || length > std::max(want, room) + room) std::abort();
    }
    // The slot is the usable area's top-left part of the wanted size.
    const Rect usable(0, 0, monitor.width, monitor.height);
    const Rect placed = platform::x11::alignInSlot(Rect(0, 0, wanted.width, wanted.height), fitted, usable);
    if (placed.minX() < usable.minX() || placed.minY() < usable.minY() || placed.minX() >= usable.maxX() ||
        placed.minY() >= usable.maxY())
        std::abort();
    if (!platform::x11::clientRequestFor(placed, {}, {}, 0)) std::abort();
    return 0;
}
