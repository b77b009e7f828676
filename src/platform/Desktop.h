#pragma once

#include "platform/Accessibility.h"
#include "platform/MainQueue.h"
#include "platform/Screens.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

namespace platform {

// The platform services the window layout engine and the controller work with. A backend
// (fake or X11) fills it; the references stay valid for the life of whatever is built on them.
struct Desktop {
    Accessibility& accessibility;
    ScreenProvider& screens;
    Workspace& workspace;
    MainQueue& mainQueue;
    UserDefaults& defaults;
};

} // namespace platform
