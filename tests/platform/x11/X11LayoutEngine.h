#pragma once

#include "X11BackendFixture.h"

#include "layout/WindowManagementService.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "preferences/ShortcutSettings.h"

namespace zentaris::testing {

// The layout engine as the program wires it, on a session's X11 desktop with settings in memory.
struct X11LayoutEngine {
    explicit X11LayoutEngine(X11Session& session)
        : desktop(session.desktop().desktop(defaults)), settings(defaults, notifications), service(desktop, settings) {}
    platform::MemoryUserDefaults defaults;
    platform::NotificationCenter notifications;
    platform::Desktop desktop;
    zentaris::ShortcutSettings settings;
    zentaris::WindowManagementService service;
};

} // namespace zentaris::testing
