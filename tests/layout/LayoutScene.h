#pragma once

#include "layout/WindowManagementService.h"
#include "platform/NotificationCenter.h"
#include "platform/fake/FakeDesktop.h"
#include "preferences/ShortcutSettings.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace platform {
inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.minX() << ", " << r.minY() << ", " << r.width() << ", " << r.height() << ")";
}
inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
} // namespace platform

namespace zentaris::testing {

using platform::AXUIElement;
using platform::Point;
using platform::Rect;

// A fake desktop with the settings and the layout coordinator built over it.
class LayoutScene : public ::testing::Test {
protected:
    platform::fake::FakeDesktop desktop;
    platform::NotificationCenter notifications;
    ShortcutSettings settings{desktop.defaults(), notifications};

    WindowManagementService& service() {
        if (!service_) service_ = std::make_unique<WindowManagementService>(desktop, settings);
        return *service_;
    }
    void setGap(double gap) { desktop.defaults().set("windowGap", gap); }
    Rect frameOf(const AXUIElement& window) const { return desktop.frameOf(window).value_or(Rect{-1, -1, -1, -1}); }

private:
    std::unique_ptr<WindowManagementService> service_;
};

} // namespace zentaris::testing
