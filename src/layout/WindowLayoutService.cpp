#include "layout/WindowLayoutService.h"

#include "layout/SlotGeometry.h"

#include <array>

namespace zentaris {

using platform::Rect;

std::optional<platform::Screen> WindowLayoutService::targetScreen() const {
    if (auto screen = screenDetection_.screenOfFocusedWindow()) return screen;
    if (auto screen = screenDetection_.screenContainingPoint(desktop_.screens.mouseLocation())) return screen;
    return desktop_.screens.mainScreen();
}

bool WindowLayoutService::applySlot(const std::function<std::optional<Rect>(const Rect&)>& slotIn) {
    auto screen = targetScreen();
    if (!screen) return false;
    auto slot = slotIn(frameCalculator_.usableFrame(*screen));
    if (!slot) return false;
    return moveService_.moveFocusedWindow(*slot);
}

bool WindowLayoutService::applyQuarter(int index) {
    return applySlot([&](const Rect& f) { return namedSlots::quarter(f, index); });
}

bool WindowLayoutService::applyThreeColumn(int column) {
    const auto c = columnFractions(settings_.threeColumnStyle());
    return applySlot([&](const Rect& f) -> std::optional<Rect> {
        switch (column) {
        case 0: return namedSlots::column(f, 0, c.outer);
        case 1: return namedSlots::column(f, c.outer, c.middle);
        case 2: return Rect{f.maxX() - c.outer * f.width(), f.minY(), c.outer * f.width(), f.height()};
        default: return std::nullopt;
        }
    });
}

bool WindowLayoutService::applySplit7030(bool second) {
    return applySlot([&](const Rect& f) { return second ? namedSlots::column(f, 0.7, 0.3) : namedSlots::column(f, 0, 0.7); });
}

bool WindowLayoutService::applySplit3070(bool second) {
    return applySlot([&](const Rect& f) { return second ? namedSlots::column(f, 0.3, 0.7) : namedSlots::column(f, 0, 0.3); });
}

bool WindowLayoutService::applyHalf(bool horizontal, bool second) {
    return applySlot([&](const Rect& f) {
        if (horizontal) return second ? namedSlots::bottomHalf(f) : namedSlots::topHalf(f);
        return second ? namedSlots::rightHalf(f) : namedSlots::leftHalf(f);
    });
}

void WindowLayoutService::applyThreeWindow(int kind, int slot) {
    applySlot([&](const Rect& f) -> std::optional<Rect> {
        using namespace namedSlots;
        if (slot < 0 || slot > 2) return std::nullopt;
        switch (kind) {
        case 0: return std::array{topHalf(f), bottomLeftQuarter(f), bottomRightQuarter(f)}[slot];
        case 1: return std::array{topLeftQuarter(f), topRightQuarter(f), bottomHalf(f)}[slot];
        case 2: return std::array{leftHalf(f), topRightQuarter(f), bottomRightQuarter(f)}[slot];
        case 3: return std::array{topLeftQuarter(f), bottomLeftQuarter(f), rightHalf(f)}[slot];
        default: return std::nullopt;
        }
    });
}

void WindowLayoutService::applyThreeWindowVerticalLeft(int slot) {
    applySlot([&](const Rect& f) -> std::optional<Rect> {
        if (slot < 0 || slot > 2) return std::nullopt;
        return std::array{namedSlots::leftHalf(f), namedSlots::topRightQuarter(f), namedSlots::bottomRightQuarter(f)}[slot];
    });
}

void WindowLayoutService::applyThreeWindowVerticalRight(int slot) {
    applySlot([&](const Rect& f) -> std::optional<Rect> {
        if (slot < 0 || slot > 2) return std::nullopt;
        return std::array{namedSlots::topLeftQuarter(f), namedSlots::bottomLeftQuarter(f), namedSlots::rightHalf(f)}[slot];
    });
}

std::vector<Rect> WindowLayoutService::framesForLayout(LayoutType layout) const {
    auto screen = targetScreen();
    const Rect area = screen ? frameCalculator_.usableFrame(*screen) : Rect{0, 0, 2560, 1600};
    return framesForLayoutInRect(layout, area, settings_.threeColumnStyle());
}

} // namespace zentaris
