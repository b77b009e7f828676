#pragma once

#include "platform/Accessibility.h"

#include <optional>
#include <string>
#include <vector>

namespace platform {

// How an application takes part in the desktop: regular applications have ordinary windows;
// accessory and background-only (prohibited) ones do not count for window arrangement.
enum class ActivationPolicy { regular, accessory, prohibited };

struct RunningApplication {
    ProcessId processIdentifier = 0;
    ActivationPolicy activationPolicy = ActivationPolicy::regular;
    std::string localizedName;

    bool operator==(const RunningApplication&) const = default;
};

// The running applications and the hand-over of addresses to other programs.
class Workspace {
public:
    virtual ~Workspace() = default;

    virtual std::optional<RunningApplication> frontmostApplication() const = 0;
    virtual std::vector<RunningApplication> runningApplications() const = 0;
    // Brings an application to the front; false when it could not be activated.
    virtual bool activate(ProcessId pid) = 0;
    // Opens an address (https:, mailto:) in the user's preferred program; false when nothing took it.
    virtual bool openURL(const std::string& url) = 0;
};

} // namespace platform
