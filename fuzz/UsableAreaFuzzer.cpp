// Struts and published work areas as any client could set them: every monitor's usable area lies
// inside it and keeps at least half of its width and height, whether the struts were checked or not.
//
// Input: root width and height, a monitor count (1-4) and x, y, width, height of each, a strut
// count (0-4) and the 12 values of each, the values of a per-monitor work-area property, then a
// desktop, a desktop count (0 for none published) and the values of the desktops' work areas.
#include "X11Values.h"
#include "platform/x11/UsableArea.h"

#include <cstdlib>

using platform::Rect;
using platform::Size;

namespace {
void requirePlausible(const Rect& usable, const Rect& monitor) {
    if (!platform::x11::isPlausibleUsableArea(usable, monitor)) std::abort();
    if (usable.width() < monitor.width() / 2 || usable.height() < monitor.height() / 2) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zentaris::fuzzing::X11Values in(data, size);
    const Size root{double(in.next(1, 32767)), double(in.next(1, 32767))};
    std::vector<Rect> monitors;
    for (auto count = in.next(1, 4); count > 0; --count) {
        const auto x = in.next(0, std::uint32_t(root.width) - 1), y = in.next(0, std::uint32_t(root.height) - 1);
        monitors.emplace_back(x, y, in.next(1, std::uint32_t(root.width) - x), in.next(1, std::uint32_t(root.height) - y));
    }
    std::vector<platform::x11::Strut> all, fitting;
    for (auto count = in.next(0, 4); count > 0; --count) {
        const auto strut = platform::x11::Strut::fromValues(in.take(12), root);
        all.push_back(strut);
        if (platform::x11::strutFitsMonitors(strut, monitors, root)) fitting.push_back(strut);
    }
    const auto areas = platform::x11::workareasFromValues(in.take(64), root);
    const auto desktop = in.next(0, 8), desktops = in.next(0, 8);
    const auto ofDesktop = platform::x11::workareaOfDesktop(in.take(40), desktop,
                                                            desktops ? std::optional<std::uint32_t>(desktops) : std::nullopt, root);
    const Rect whole(0, 0, root.width, root.height);
    if (ofDesktop && platform::x11::intersection(*ofDesktop, whole) != *ofDesktop) std::abort();
    for (const auto& area : areas) {
        if (platform::x11::intersection(area, whole) != area) std::abort();
    }
    for (const auto& monitor : monitors) {
        requirePlausible(platform::x11::usableArea(monitor, all, root), monitor);
        requirePlausible(platform::x11::usableArea(monitor, fitting, root), monitor);
        requirePlausible(platform::x11::narrowedByWorkarea(platform::x11::usableArea(monitor, fitting, root), monitor, ofDesktop),
                         monitor);
        if (const auto area = platform::x11::workareaOfMonitor(monitor, areas)) requirePlausible(*area, monitor);
    }
    return 0;
}
